#pragma once
// The one-page report: a fixed A4 page template (text objects with
// [VARIABLE] placeholders, lines and pictures, boxes in millimetres) filled
// from named variables and painted on any paged device.
#include "reports/CostSection.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <optional>

class QFont;
class QPaintDevice;
class QPagedPaintDevice;
class QPainter;

namespace reports {

struct PageObject {
    enum class Kind { Text, Line, Picture };
    QString name;
    Kind kind = Kind::Text;
    QRectF box; // millimetres from the top-left corner of the printable area
    QString text;
    double points = 10;
    bool bold = false;
    bool centre = false;
    QString file; // a picture that comes with the template
};

struct PageTemplate {
    double widthMm = 210, heightMm = 297, marginMm = 10;
    QList<PageObject> objects;

    // Reads a template file (JSON: the page and its objects in order). A file
    // that is missing, unreadable or no page template raises
    // "Cannot open file "<path>". <reason>".
    static PageTemplate load(const QString &path);
    // The same from the file's bytes. When they are no template (not JSON,
    // or no list of objects) `problem` receives why; whatever else is
    // missing or malformed keeps its default.
    static PageTemplate fromJson(const QByteArray &json, QString *problem = nullptr);
};

// A text that does not fit its box is set smaller, down to this size, before
// anything of it is cut.
inline constexpr double kSmallestPoints = 7;

// How a text is set in its box on a device: the size it is drawn at (its own,
// or smaller down to kSmallestPoints) and its lines; when even the smallest
// size cannot hold it all, the last line that shows ends with "…" and cut
// is true.
struct FittedText {
    double points = 0;
    QStringList lines;
    bool cut = false;
};
FittedText fitText(const QString &text, const QFont &font, const QRectF &box, QPaintDevice *device);

class PageReport : public QObject {
    Q_OBJECT
public:
    // The template is read from its file when first needed, not at start.
    explicit PageReport(QString templatePath, QObject *parent = nullptr);

    // Variables keep their values until set again; names match whatever
    // their letter case. The value is shown exactly as given.
    void setVariable(const QString &name, const QString &text);
    QString variable(const QString &name) const;

    // Puts a picture into the named picture object; false when the template
    // has no picture object of that name.
    bool loadPicture(const QString &objectName, const QImage &picture);

    // A text with every [NAME] replaced by its variable's value.
    QString filled(const QString &text) const;

    // The page as its template file describes it, read when first needed;
    // a broken template, or a picture of its own that cannot be read, raises
    // the reason.
    const PageTemplate &page() const;
    // Another template file, read when next needed.
    void setTemplatePath(const QString &path);

    // A second page with the least-cost composition, or none.
    void setCostPage(std::optional<CostSection> cost) { cost_ = std::move(cost); }
    const std::optional<CostSection> &costPage() const { return cost_; }

    // Paints the page: the painter's origin at the printable area's corner,
    // dpi the device's resolution.
    void paint(QPainter &painter, qreal dpi) const;
    // Sets the device to A4 with the template's margins and paints the page,
    // then the composition's page when there is one.
    bool print(QPagedPaintDevice &device) const;

private:
    QImage picture(const PageObject &object) const;

    QString templatePath_;
    mutable std::optional<PageTemplate> page_;
    QHash<QString, QString> variables_;          // by lower-case name
    mutable QHash<QString, QImage> pictures_;    // by object name
    std::optional<CostSection> cost_;
};

} // namespace reports
