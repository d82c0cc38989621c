#include "app/widgets_factory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QLabel>
#include <QPixmap>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResource>
#include <QStyleOptionGroupBox>
#include <QStylePainter>
#include <cstring>

namespace ui {

// Under Fusion the inside of the frame is laid as a plain fill (see the header).
void Group::paintEvent(QPaintEvent *)
{
    static constexpr int frameMargin = 8; // the frame picture's border is 6 pixels
    static constexpr int titleRoom = 40;  // the title line and the border below it
    static const QColor tint{0, 0, 0, 3};
    // The background with the tint laid over it, by the same painting, on one pixel.
    const auto tinted = [](const QColor &background) {
        QImage pixel(1, 1, QImage::Format_ARGB32_Premultiplied);
        pixel.fill(background);
        QPainter(&pixel).fillRect(0, 0, 1, 1, tint);
        return pixel.pixelColor(0, 0);
    };
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    // Well inside the frame's middle whatever the title's height.
    const QRect middle = rect().adjusted(frameMargin, titleRoom, -frameMargin, -frameMargin);
    const bool fusion = style()->name() == QLatin1String("fusion") && middle.isValid();
    if (fusion)
        painter.setClipRegion(QRegion(rect()).subtracted(middle));
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
    if (!fusion)
        return;
    painter.setClipping(false);
    const QBrush &own = palette().brush(backgroundRole());
    if (autoFillBackground() && own.style() == Qt::SolidPattern && own.color().alpha() == 255)
        painter.fillRect(middle, tinted(own.color()));
    else
        painter.fillRect(middle, tint);
}

QGroupBox *group(QWidget *parent, const QString &name, const QString &caption, int x, int y, int w, int h)
{
    auto *g = new Group(caption, parent);
    g->setObjectName(name);
    g->setGeometry(x, y, w, h);
    return g;
}

QGroupBox *fillingGroup(QWidget *page, const QString &name)
{
    auto *g = group(page, name, QString(), 0, 0, 1176, 624);
    setBackground(g, colour::menu);
    return g;
}

QLabel *label(QWidget *parent, const QString &text, int x, int y, int w, int h)
{
    auto *l = new QLabel(text, parent);
    if (w < 0)
        w = l->sizeHint().width();
    l->setGeometry(x, y, w, h);
    return l;
}

QLineEdit *edit(QWidget *parent, const QString &name, int x, int y, int w, const QString &text)
{
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setGeometry(x, y, w, 21);
    return e;
}

QLineEdit *labelledEdit(QWidget *parent, const QString &caption, const QString &name, int x, int y, int labelWidth,
                        int editWidth, const QString &text)
{
    label(parent, caption, x, y + 3, labelWidth);
    return edit(parent, name, x + labelWidth + 4, y, editWidth, text);
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, int x, int y, int w, int h)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(x, y, w, h);
    b->setAutoDefault(false);
    return b;
}

QRadioButton *radio(QWidget *parent, const QString &name, const QString &caption, int x, int y, int w)
{
    auto *r = new QRadioButton(caption, parent);
    r->setObjectName(name);
    r->setGeometry(x, y, w, 18);
    return r;
}

QCheckBox *check(QWidget *parent, const QString &name, const QString &caption, int x, int y, int w)
{
    auto *c = new QCheckBox(caption, parent);
    c->setObjectName(name);
    c->setGeometry(x, y, w, 18);
    return c;
}

QComboBox *combo(QWidget *parent, const QString &name, const QStringList &items, int x, int y, int w)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    // Made editable by handing it its line edit: setEditable(true) would first
    // build the drop-down list's frame for a non-editable list (some 0.7
    // million instructions per list at start); the list's frame is built the
    // first time it drops down instead, the same as an editable list's.
    auto *line = new QLineEdit(c);
    line->setPalette(c->palette());
    c->setLineEdit(line);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    c->setCurrentIndex(-1);
    c->setEditText(QStringLiteral("Selecione"));
    c->setGeometry(x, y, w, 21);
    return c;
}

QPlainTextEdit *memo(QWidget *parent, const QString &name, int x, int y, int w, int h)
{
    auto *m = new QPlainTextEdit(parent);
    m->setObjectName(name);
    m->setGeometry(x, y, w, h);
    return m;
}

QPixmap screenPixels(const QString &resource)
{
    const QResource file(resource);
    const uchar *bytes = file.data();
    constexpr qint64 head = 12;
    if (!bytes || file.compressionAlgorithm() != QResource::NoCompression || file.size() < head || std::memcmp(bytes, "RGB32\0\0\0", 8) != 0)
        return {};
    const int width = bytes[8] | bytes[9] << 8, height = bytes[10] | bytes[11] << 8;
    if (file.size() != head + qint64(width) * height * 4)
        return {};
    return QPixmap::fromImage(QImage(bytes + head, width, height, width * 4, QImage::Format_RGB32));
}

QPixmap storedColoursPicture(const QString &resource)
{
    return QPixmap::fromImage(QImage(resource), Qt::NoFormatConversion);
}

namespace {

class FirstShow : public QObject {
public:
    FirstShow(QWidget *widget, std::function<void()> work) : QObject(widget), work_(std::move(work))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            const std::function<void()> work = std::move(work_);
            deleteLater();
            work();
        }
        return false;
    }

private:
    std::function<void()> work_;
};

} // namespace

void onFirstShow(QWidget *widget, std::function<void()> work)
{
    new FirstShow(widget, std::move(work));
}

QIcon closeGlyph()
{
    QPixmap glyph(16, 16);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(176, 32, 32), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(4, 4), QPointF(12, 12));
    painter.drawLine(QPointF(12, 4), QPointF(4, 12));
    return QIcon(glyph);
}

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void setFieldColour(QWidget *field, const QColor &colour)
{
    QPalette p = field->palette();
    p.setColor(QPalette::Base, colour);
    field->setPalette(p);
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    widget->setPalette(p);
}

} // namespace ui
