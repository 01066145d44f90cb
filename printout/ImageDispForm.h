#pragma once

#include "PageIndex.h"

#include <QDialog>
#include <QImage>

#include <functional>

class QAction;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPrinter;
class QPushButton;
class QScrollArea;
class QStatusBar;
class QToolButton;
class QFrame;
class QLabel;

class TImageDispForm;

// The printable area: shows the page the preview last drew.
class TImagePaintBox : public QWidget
{
    Q_OBJECT
public:
    explicit TImagePaintBox(TImageDispForm *form, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TImageDispForm *m_form;
};

// The print preview: the command file page by page on a picture of the paper,
// the form overlay under the data.
class TImageDispForm : public QDialog
{
    Q_OBJECT
public:
    explicit TImageDispForm(QWidget *parent = nullptr);
    ~TImageDispForm() override;

    QWidget *SpeedBar;
    QToolButton *CloseButton;
    QToolButton *ZoomInButton;
    QLineEdit *DispZoom;
    QToolButton *ZoomOutButton;
    QToolButton *PrevPage;
    QLineEdit *WherePage;
    QToolButton *NextPage;
    QToolButton *PrintSetupButton;
    QToolButton *PrintButton;
    QScrollArea *ImagePaintScrollBox;
    QFrame *PaperPanel;
    TImagePaintBox *ImagePaintBox;
    QStatusBar *StatusBar1;
    QLabel *StatusPanel2;
    QPushButton *ESCButton;
    QLineEdit *KeyIn;
    QMenuBar *MainMenu;
    QMenu *FileMenu;
    QMenu *ViewMenu;
    QMenu *OptionMenu;
    QMenu *JumpMenu;
    QAction *SpeedBar_Menu;
    QAction *FullScreen_Menu;
    QList<QAction *> ZoomItems; // 200 %, 150 %, 100 %, 80 %, 50 %, 30 %

    int zoom() const { return m_zoom; }
    int pageTotal() const { return m_pageTotal; }
    int currentPage() const { return m_currentPage; }
    quint8 printForm() const { return m_printForm; }
    quint8 showDialog() const { return m_showDialog; }
    void setFlags(quint8 printForm, quint8 showDialog);
    // The page as last drawn (printable area, window pixels).
    const QImage &pageImage() const { return m_page; }
    // How many times the files were read to draw a page.
    int drawCount() const { return m_drawCount; }

    // Replaces the printer setup dialog (scripts and tests); false = cancelled.
    using SetupExecutor = std::function<bool(QPrinter &printer)>;
    static void setSetupExecutor(SetupExecutor executor);

public slots:
    void FormCreate();
    void FormResize();
    void CloseButtonClick();
    void ZoomInButtonClick();
    void ZoomOutButtonClick();
    void MenuZoomClick(int zoom);
    void DispPrev();
    void DispNext();
    void Top_PageClick();
    void Bottom_PageClick();
    void Selected_PageClick();
    void FullScreen_MenuClick();
    void ESCButtonClick();
    void SpeedBar_MenuClick();
    void PrintButtonClick();
    void PrintSetupButtonClick();
    // Draws the current page (after every page change, zoom and layout).
    void ImagePaintBoxPaint();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void drawPage();
    void ZoomDisp();
    void ZoomMenuChecked();
    void showWherePage();
    int ppi() const;

    int m_zoom = 10;
    int m_pageTotal = 1;
    int m_currentPage = 1;
    quint8 m_printForm = 0;
    quint8 m_showDialog = 1;
    QRect m_savedBounds;
    bool m_paintGuard = false;
    bool m_fullScreen = false;
    bool m_shown = false;
    QImage m_page;
    int m_drawCount = 0;
    PageIndex m_formIndex;
    PageIndex m_dataIndex;
    // A missing file is told once per activation, not on every drawing.
    bool m_formMissingTold = false;
    bool m_dataMissingTold = false;
};

// Opens the preview modally with the job's settings; returns when it closes.
void PreviewCommandFile(const QString &title, const QString &formPath, const QString &dataPath,
                        int paperSize, int orientation, int topOffset, int leftOffset,
                        int windowLeft, int windowTop, int windowRight, int windowBottom,
                        quint8 printForm, quint8 showDialog);
