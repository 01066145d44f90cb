#pragma once

#include "serial/SerialTexts.h"

#include <QString>

// Check digits of slip numbers. Both functions first normalise the number in
// place: full-width characters become half-width and everything that is not
// a digit is dropped; the caller gets the normalised text back.

// The number's value modulo 7 ("0" to "6"). Throws AppError with the
// two-part digit-count message unless the number has exactly 6 digits.
QString CheckDigit7DR(QString &number);

// Modulus 11 with the weights 6, 5, 4, 3, 2, 6, 5, 4, 3, 2. A number whose
// remainder is 1 has no valid check digit (a missing number): with
// checkMissing the user is told so and the result is empty, otherwise its
// check digit is "0". Throws AppError unless the number has exactly 10 digits.
QString CheckDigitModulus11(QString &number, bool checkMissing);

// Whether a ten-digit number is a missing number under modulus 11; false for
// text that is not ten digits. Shows nothing.
bool IsModulus11MissingNumber(const QString &tenDigits);
