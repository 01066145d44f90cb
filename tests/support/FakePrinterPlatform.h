#pragma once

#include "QxPrinters.h"

// A printing system of our making: printers with their papers, the current
// one, and what was asked of it.
class FakePlatform : public PrinterPlatform
{
public:
    struct Printer
    {
        QString name;
        quint32 attributes = 0;
        QList<Paper> papers;
        bool paperSupported = true;
        int defaultPaper = 9;
    };

    QList<Entry> enumerate() override
    {
        QList<Entry> out;
        for (const Printer &p : printers)
            out << Entry{p.name, p.attributes};
        return out;
    }
    int currentIndex() override { return current; }
    QString currentDeviceName() override
    {
        return current >= 0 && current < printers.size() ? printers.at(current).name : QString();
    }
    void selectPrinter(const QString &name) override
    {
        selected << name;
        current = defaultIndex;
        for (int i = 0; i < printers.size(); ++i) {
            if (printers.at(i).name == name)
                current = i;
        }
        if (current >= 0)
            device = {printers.at(current).paperSupported, printers.at(current).defaultPaper};
    }
    QList<Paper> papers() override
    {
        ++paperReads;
        return current >= 0 ? printers.at(current).papers : QList<Paper>{};
    }
    DeviceSettings settings() override
    {
        DeviceSettings s = device;
        if (current >= 0)
            s.paperSupported = printers.at(current).paperSupported;
        return s;
    }
    void applySettings(const DeviceSettings &s) override
    {
        applied << s;
        device = s;
    }
    void recreate() override { ++recreated; }

    QList<Printer> printers;
    int current = 0;
    int defaultIndex = 0;
    DeviceSettings device{true, 9};
    QStringList selected;
    QList<DeviceSettings> applied;
    int paperReads = 0;
    int recreated = 0;
};
