#pragma once
// TShadowLabel: a label that draws its caption with an optional drop shadow, breaks lines
// at "|", and with automatic sizing off makes a caption fit its box: first by a smaller
// font (down to 7 points), then by cutting whole words off the end behind an ellipsis.

#include <QColor>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>

// `text` with every occurrence of `pattern` replaced, left to right, never looking again
// at text a replacement produced. An empty pattern leaves the text as it is.
QString StringReplaceAll(const QString& text, const QString& pattern, const QString& replacement);

// The box a text needs at a font size in points.
using MeasureText = std::function<QSize(const QString& text, double points)>;

struct LabelFit {
    QString text;
    double points;
};

// Makes `text` fit into `box`: while too large and above 7 points, one point smaller;
// then whole words off the end, ending in " ..." (or "..." when no word is left).
LabelFit FitLabelText(const QString& text, double points, QSize box, const MeasureText& measure);

class TShadowLabel : public QWidget {
    Q_OBJECT
public:
    enum TTextLayout { tlTop, tlCenter, tlBottom };

    explicit TShadowLabel(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);

    int Shadow() const { return shadow_; }
    void setShadow(int offset);
    QColor ShadowColor() const { return shadowColor_; }
    void setShadowColor(const QColor& colour);

    // Horizontal alignment: Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
    Qt::Alignment Alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment alignment);
    TTextLayout Layout() const { return layout_; }
    void setLayout(TTextLayout layout);
    bool WordWrap() const { return wordWrap_; }
    void setWordWrap(bool wrap);
    // On: the label takes the size of its text and never shrinks or cuts it.
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool on);
    // The fill behind a label that is not transparent; invalid means the window colour.
    QColor Color() const { return color_; }
    void setColor(const QColor& colour);

    // The caption as painted: "|" as line breaks and, with AutoSize off, fitted to the box.
    LabelFit PaintedText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int textFlags() const;
    QSize measure(const QString& text, const QFont& font) const;
    void adjustSize();

    QString caption_ = QStringLiteral("ShadowLabel");
    int shadow_ = 1;
    QColor shadowColor_ = Qt::black;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool autoSize_ = false;
    bool transparent_ = false;
    QColor color_;
};
