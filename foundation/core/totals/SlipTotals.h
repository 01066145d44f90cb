#pragma once

#include "totals/TotalsTexts.h"

#include <QString>

class EditableResultSet;
class SlipRecord;

// Line amounts and slip totals, computed inside the slip being edited.
// Quantities and prices are fixed-point numbers with four decimals; amounts
// are whole numbers rounded by Marume. A computed 0 is stored as null, so an
// empty line prints nothing. The calculations run only with AutoCalc on and
// the record being edited or inserted.
//
// A quantity or price part that is not a number stops the calculation with
// AppError "計算できません。"; so does an amount that does not fit the nine
// printed boxes (or 32 bits), with the line or total named in the message.
// Columns written before the failing step keep their new values.

// The longest amount text the slip prints.
inline constexpr int kAmountMaxCharacters = 9;

// Line amounts, quantity totals and amount totals, then the corrected amounts.
void CalculateSlipTotals(SlipRecord &record);
// The corrected quantity totals, then the corrected amounts.
void CalculateCorrectedTotals(SlipRecord &record);
// The four amount totals of the corrected quantities.
void CalculateCorrectedAmounts(SlipRecord &record);

void CalculateSlipTotals(EditableResultSet &dataSet);
void CalculateCorrectedTotals(EditableResultSet &dataSet);
void CalculateCorrectedAmounts(EditableResultSet &dataSet);

struct QuantityDecimals
{
    int carry = 0;     // whole units carried from the digits
    QString remainder; // the remaining digit, "" for 0
};
// Sums the decimal digits of the quantities (corrected ones when asked) of
// lines 1 to 6, or 1 to 9; a digit that is not a number counts 0.
QuantityDecimals SumQuantityDecimals(const SlipRecord &record, bool nineLines, bool corrected);

// x rounded by Marume: 0 half to even, 1 toward zero, 2 up (ceiling),
// 3 and others x + 0.5 toward zero. Throws "計算できません。" for a result
// outside 32 bits rather than wrapping it.
int RoundAmount(double x);
