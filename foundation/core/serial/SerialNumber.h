#pragma once

#include "serial/SerialTexts.h"

#include <QString>

// The counter kind of slip numbers in table RENBAN.
inline constexpr int kSlipNumberKind = 1;

// Draws from, or settles, the shared number counter of the given kind in
// table RENBAN (RENBAN = last committed number, SCOUNT = open reservations),
// in one transaction on a connection of its own:
//   - reserve (commit false, step 1): hands out the number after all open
//     reservations and counts one more reservation;
//   - save (commit true, step 1): counts the number as used and ends one
//     reservation;
//   - cancel (commit true, step 0): ends one reservation. Pass the number the
//     reservation handed out as heldNumber: only the highest number handed
//     out goes back to the counter; a lower one (a later reservation is still
//     open or already saved) is recorded as used instead, so it can never be
//     handed out twice. An empty heldNumber means the slip held no number,
//     and the counter stays as it is.
// The number is formatted by DenKetaCD (6 or 10 digits, zero-padded, or
// plain). Under DenKetaCD 3 a reserved number without a modulus-11 check
// digit is reported to the user, recorded as used and the following number
// is handed out.
// Returns empty text when the database has no table RENBAN. Throws AppError
// "Database Connect Error" when the connection fails and "連番取得エラー．．．"
// when the database refuses the work; the counter is then unchanged.
// Another program drawing at the same moment makes the call wait and retry
// rather than fail.
QString GetSerialNumber(int kind, int step, bool commit, const QString &heldNumber = {});

// A counter value formatted as DenKetaCD asks.
QString FormatSerialNumber(qint64 number, int denKetaCD);

// How often this process retried a draw because another program held the
// counter row (for measurements).
int SerialNumberRetries();
