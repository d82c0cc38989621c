#pragma once
// Small builders for the fixed layout: every component gets its name and its
// place in pixels; nothing stretches.
#include <QColor>
#include <QGroupBox>
#include <QString>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QIcon;
class QLabel;
class QLineEdit;
class QPixmap;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace ui {

// Colours named by the layout.
namespace colour {
inline const QColor menu{240, 240, 240};
inline const QColor cream{255, 251, 240};
inline const QColor silver{192, 192, 192};
inline const QColor inactiveCaption{191, 205, 219};
inline const QColor activeCaption{153, 180, 209};
inline const QColor hotLight{0, 102, 204};
inline const QColor highlight{0, 120, 215};
inline const QColor window{255, 255, 255};
inline const QColor yellow{255, 255, 0};
inline const QColor green{0, 128, 0};
inline const QColor navy{0, 0, 128};
inline const QColor purple{128, 0, 128};
inline const QColor red{255, 0, 0};
inline const QColor blue{0, 0, 255};
} // namespace colour

// A group painted as the style paints it, but for the inside of its frame
// under Fusion: Fusion stretches a picture over the whole group whose middle
// is one colour, black at an alpha of 3, and a stretched picture is blended
// pixel by pixel on worker threads (some 10 million instructions for the
// page-sized groups of the first frame). The same colour is laid there as a
// plain fill, which gives the same pixels; over a group's own opaque
// background the outcome is one known colour, filled as it is. Other styles
// paint it all.
class Group : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *event) override;
};

QGroupBox *group(QWidget *parent, const QString &name, const QString &caption, int x, int y, int w, int h);
// A caption-less group that fills a tab page with the menu colour.
QGroupBox *fillingGroup(QWidget *page, const QString &name);
QLabel *label(QWidget *parent, const QString &text, int x, int y, int w = -1, int h = 16);
QLineEdit *edit(QWidget *parent, const QString &name, int x, int y, int w = 60, const QString &text = QString());
// A label with its edit to the right; returns the edit.
QLineEdit *labelledEdit(QWidget *parent, const QString &caption, const QString &name, int x, int y,
                        int labelWidth, int editWidth = 60, const QString &text = QString());
QPushButton *button(QWidget *parent, const QString &name, const QString &caption, int x, int y, int w = 75,
                    int h = 25);
QRadioButton *radio(QWidget *parent, const QString &name, const QString &caption, int x, int y, int w = 140);
QCheckBox *check(QWidget *parent, const QString &name, const QString &caption, int x, int y, int w = 140);
QComboBox *combo(QWidget *parent, const QString &name, const QStringList &items, int x, int y, int w);
QPlainTextEdit *memo(QWidget *parent, const QString &name, int x, int y, int w, int h);
// A picture from the resources stored in the screen's own pixels (made at
// build time by assets/screen_pixels.cpp), for one painted as it is: nothing
// to decode or convert at start, and painting a few-colour pixmap would
// convert it on every paint. Null if the resource is not such a picture.
QPixmap screenPixels(const QString &resource);
// A picture kept in the few colours it is stored with (a quarter of the
// memory of a full-colour copy), for one only shown scaled: the label paints
// the scaled copy it keeps.
QPixmap storedColoursPicture(const QString &resource);
// Runs work once, when the widget is first shown, before it is painted: for
// what only its own tab needs (a picture decoded, a chart laid out).
void onFirstShow(QWidget *widget, std::function<void()> work);
// The close glyph of the "&Fechar" button, drawn here rather than looked up
// in an icon theme (a costly search at start).
QIcon closeGlyph();
// Background of a group or page (the Window role; edits inside keep theirs).
void setBackground(QWidget *widget, const QColor &colour);
// Background of an edit or memo.
void setFieldColour(QWidget *field, const QColor &colour);
void setTextColour(QWidget *widget, const QColor &colour);

} // namespace ui
