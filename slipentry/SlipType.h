#pragma once

#include <QString>

// The six slip types, one slip entry program each.
enum class SlipType
{
    Type22,
    Type21,
    Type12,
    Type11,
    TypeT11,
    TypeT12,
};

struct SlipTypeInfo
{
    SlipType type;
    const char *program;     // "Tambrel22"
    const char16_t *caption; // designed caption, after the suite's prefix
    const char16_t *title;   // application title
    int helpContext;
    bool oneLineMode;
    const char16_t *turnaroundPicture; // picture that selects the turnaround name, or null
    const char16_t *turnaroundName;    // display name for the turnaround picture, or null
    const char16_t *printName;         // display name otherwise
};

const SlipTypeInfo &slipTypeInfo(SlipType type);

// The display name sent to the print-out program for a picture argument.
QString slipPrintName(SlipType type, const QString &picturePath);
