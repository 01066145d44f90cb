#pragma once

#include "db/EditableResultSet.h"
#include "db/UpdateSql.h"
#include "ui/ConnectedMainWindow.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QStatusBar;
class AppHints;
class TEditEx;
class TIniWinPlace;
class TQxPrinter;
class TUpDown;

// The print-out program's window: the slip type, this computer's printer,
// paper and offsets for it, and the print run of the marked slips.
class TTambrelOutForm : public ConnectedMainWindow
{
    Q_OBJECT
public:
    // defaultPrinterName: the printer that was current when the program started.
    TTambrelOutForm(TQxPrinter &printerInfo, const QString &defaultPrinterName,
                    const QString &slipTypeName, QWidget *parent = nullptr);
    ~TTambrelOutForm() override;

    static constexpr int HelpContext = 31;

    QGroupBox *GroupBox1;
    QGroupBox *GroupBox2;
    QComboBox *PaperCombo;
    QComboBox *ComboBox1;
    QComboBox *ComboBox3;
    QLabel *Label3;
    TEditEx *EditEx1;
    TUpDown *LeftUD;
    TEditEx *EditEx2;
    TUpDown *TopUD;
    QPushButton *BitBtn1;
    QPushButton *BitBtn3;
    QPushButton *HelpBtn;
    QStatusBar *StatusBar1;
    QLabel *StatusPanel1;
    QLabel *StatusPanel2;
    TIniWinPlace *IniWinPlace1;

    EditableResultSet IBQueryTambrel; // the marked slips
    EditableResultSet IBQuerySet;     // the print settings, cached
    UpdateSql IBUpdateSQLSet;

    const QString &defaultPrinterName() const { return m_defaultPrinterName; }
    // A print run since the program started ended without an error.
    bool printed() const { return m_printed; }
    // The confirmation text of the print button for the lists' selections.
    QString printQuestion() const;

public slots:
    void LoadPrintSetting();
    void SavePrintSetting();
    void ComposePrintData();
    void PaperComboChange();
    void ComboBox1Change();
    void ComboBox3Change();
    void BitBtn1Click();
    // A printer was installed or removed: the printer list follows.
    void PrintersChanged();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void FormCreate(const QString &slipTypeName);
    void FormCloseQuery();

    TQxPrinter &m_qx;
    QString m_defaultPrinterName;
    bool m_printed = false;
    bool m_closed = false;
    AppHints *m_hints = nullptr;
};

// The printer current at program start, as named in the printer list. With
// no usable printer at all the error is shown and the program ends.
QString RecordDefaultPrinter(TQxPrinter &printerInfo);
