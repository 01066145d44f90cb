// tambrel-formview: shows a slip picture in a window of its slip type's size
// with every edit rectangle of the type drawn over it, to check by eye that
// each edit sits on its box.
//
//   tambrel-formview --forms FOLDER --type 22 [--variant TR] [--quit-after MS]

#include "FormGeometry.h"

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

class EditOverlayView : public QWidget
{
public:
    EditOverlayView(const FormSet &set, const SlipTypeGeometry &type, const QString &variant)
        : m_picture(set.picture(type, variant)), m_edits(set.edits(type)),
          m_origin(set.formOf(type).origin.toPoint())
    {
        setFixedSize(type.window);
        setWindowTitle(QStringLiteral("%1 %2").arg(type.id, variant));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xd4, 0xd0, 0xc8));
        p.drawImage(m_origin, m_picture);
        QFont font = p.font();
        font.setPixelSize(8);
        p.setFont(font);
        for (const ScreenEdit &e : m_edits) {
            // Half-open like the edits themselves: the right and bottom pixel
            // belong to the neighbour.
            const QRect r = e.rect.adjusted(0, 0, -1, -1);
            p.fillRect(r, QColor(255, 255, 255, 150));
            p.setPen(QColor(230, 0, 0));
            p.drawRect(r);
            p.setPen(QColor(0, 0, 160));
            p.drawText(r.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, e.name);
        }
    }

private:
    QImage m_picture;
    QVector<ScreenEdit> m_edits;
    QPoint m_origin;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString forms;
    QString typeId;
    QString variant;
    int quitAfter = 0;
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QLatin1String("--forms")) {
            forms = args.at(i + 1);
        } else if (args.at(i) == QLatin1String("--type")) {
            typeId = args.at(i + 1);
        } else if (args.at(i) == QLatin1String("--variant")) {
            variant = args.at(i + 1);
        } else if (args.at(i) == QLatin1String("--quit-after")) {
            quitAfter = args.at(i + 1).toInt();
        }
    }
    try {
        const FormSet set = FormSet::load(forms);
        const SlipTypeGeometry &type = set.type(typeId);
        if (variant.isEmpty()) {
            variant = set.formOf(type).variants.first().name;
        }
        EditOverlayView view(set, type, variant);
        view.move(0, 0);
        view.show();
        if (quitAfter > 0) {
            QTimer::singleShot(quitAfter, &app, &QCoreApplication::quit);
        }
        return app.exec();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "tambrel-formview: %s\n", e.what());
        return 1;
    }
}
