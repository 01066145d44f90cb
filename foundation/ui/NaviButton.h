#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

// One button of the captioned navigator: a glyph and a caption, placed
// relative to each other, with a caption colour of its own (the hover
// colour). Flat buttons show their frame only under the mouse.
class NaviButton : public QAbstractButton
{
    Q_OBJECT
public:
    enum class GlyphPosition
    {
        Left,
        Right,
        Top,
        Bottom,
    };

    explicit NaviButton(int index, QWidget *parent = nullptr);

    int index() const { return m_index; }
    void setGlyph(const QPixmap &glyph);
    const QPixmap &glyph() const { return m_glyph; }
    void setCaptionColor(const QColor &color);
    const QColor &captionColor() const { return m_captionColor; }
    void setGlyphPosition(GlyphPosition position);
    GlyphPosition glyphPosition() const { return m_position; }
    void setFlat(bool flat);

    // Where the glyph and the caption are painted.
    QRect glyphRect() const;
    QRect captionRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void layoutParts(QRect *glyph, QRect *caption) const;

    int m_index;
    QPixmap m_glyph;
    QColor m_captionColor;
    GlyphPosition m_position = GlyphPosition::Bottom;
    bool m_flat = false;
    bool m_hovered = false;
};
