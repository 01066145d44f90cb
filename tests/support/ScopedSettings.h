#pragma once

#include "settings/Settings.h"

// Replaces the process's settings for the lifetime of the object, so a test
// can run code that reads them (F_DbPath, DenKetaCD, Marume ...).
class ScopedSettings
{
public:
    explicit ScopedSettings(const TambrelSettings &record) : m_saved(settings())
    {
        ReplaceSettings(record);
    }
    ~ScopedSettings() { ReplaceSettings(m_saved); }
    ScopedSettings(const ScopedSettings &) = delete;
    ScopedSettings &operator=(const ScopedSettings &) = delete;

private:
    TambrelSettings m_saved;
};
