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

// What sets one slip entry program apart from the other five.
struct SlipTypeInfo
{
    SlipType type;
    const char *id;          // "22", "T11": names the edit table FormEdits/<id>.json
    const char *program;     // "Tambrel22"
    const char16_t *caption; // designed caption, after the suite's prefix
    const char16_t *title;   // application title
    int helpContext;
    bool oneLineMode;
    // The typewriter slips date a new slip by DateTy1 only, and their form
    // offers no Ctrl+S / Ctrl+Insert.
    bool typewriter;
    const char16_t *turnaroundPicture; // picture that selects the turnaround name, or null
    const char16_t *turnaroundName;    // display name for the turnaround picture, or null
    const char16_t *printName;         // display name otherwise
    // Where a relative picture is found beside the program when the working
    // folder has none: type 11 has pictures of its own, named as type 12's.
    const char *pictureFolder;
};

const SlipTypeInfo &slipTypeInfo(SlipType type);
inline constexpr SlipType kAllSlipTypes[] = {SlipType::Type22,  SlipType::Type21,
                                             SlipType::Type12,  SlipType::Type11,
                                             SlipType::TypeT11, SlipType::TypeT12};

// The display name sent to the print-out program for a picture argument:
// the turnaround name when the trimmed argument is the type's turnaround
// picture (whole text, case ignored, "\" and "/" the same separator), else
// the OCR name; the typewriter types always send their one name.
QString slipPrintName(SlipType type, const QString &picturePath);
