#include "reports/PageReport.h"

#include "core/Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>

namespace reports {

PageTemplate PageTemplate::load(const QString &path)
{
    const auto failure = [&path](const QString &reason) {
        return Failure(QStringLiteral("Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(path), reason));
    };
    QFile file(path);
    if (!file.exists())
        throw failure(QStringLiteral("No such file or directory"));
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        throw failure(QStringLiteral("Not a readable file"));
    QString problem;
    PageTemplate page = fromJson(file.readAll(), &problem);
    if (!problem.isEmpty())
        throw failure(problem);
    return page;
}

PageTemplate PageTemplate::fromJson(const QByteArray &json, QString *problem)
{
    PageTemplate page;
    // A page without its objects would print blank: that is a broken
    // template, not an empty report.
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    const QJsonObject root = document.object();
    if (problem) {
        if (error.error != QJsonParseError::NoError)
            *problem = QStringLiteral("Not a page template: %1 at byte %2").arg(error.errorString()).arg(error.offset);
        else if (!root.value(QLatin1String("objects")).isArray())
            *problem = QStringLiteral("Not a page template: it has no objects");
    }
    const QJsonObject size = root.value(QLatin1String("page")).toObject();
    page.widthMm = size.value(QLatin1String("widthMm")).toDouble(210);
    page.heightMm = size.value(QLatin1String("heightMm")).toDouble(297);
    page.marginMm = size.value(QLatin1String("marginMm")).toDouble(10);
    for (const QJsonValue &value : root.value(QLatin1String("objects")).toArray()) {
        const QJsonObject o = value.toObject();
        PageObject object;
        object.name = o.value(QLatin1String("name")).toString();
        const QString kind = o.value(QLatin1String("kind")).toString();
        object.kind = kind == QLatin1String("line")      ? PageObject::Kind::Line
                      : kind == QLatin1String("picture") ? PageObject::Kind::Picture
                                                         : PageObject::Kind::Text;
        const QJsonArray box = o.value(QLatin1String("box")).toArray();
        object.box = QRectF(box.at(0).toDouble(), box.at(1).toDouble(), box.at(2).toDouble(), box.at(3).toDouble());
        object.text = o.value(QLatin1String("text")).toString();
        object.points = o.value(QLatin1String("points")).toDouble(10);
        object.bold = o.value(QLatin1String("bold")).toBool();
        object.centre = o.value(QLatin1String("centre")).toBool();
        object.file = o.value(QLatin1String("file")).toString();
        page.objects.append(object);
    }
    return page;
}

PageReport::PageReport(QString templatePath, QObject *parent)
    : QObject(parent), templatePath_(std::move(templatePath))
{
    // The page is set in Arial; Liberation Sans has the same metrics. Once per
    // process, since reports may be made on several threads at a time.
    static const bool substituted = [] {
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        return true;
    }();
    Q_UNUSED(substituted);
}

void PageReport::setTemplatePath(const QString &path)
{
    templatePath_ = path;
    page_.reset();
    pictures_.clear();
}

const PageTemplate &PageReport::page() const
{
    if (!page_) {
        PageTemplate page = PageTemplate::load(templatePath_);
        // The pictures that come with the template (the logos) are part of it.
        QHash<QString, QImage> pictures;
        for (const PageObject &object : page.objects) {
            if (object.kind != PageObject::Kind::Picture || object.file.isEmpty())
                continue;
            const QImage picture(object.file);
            if (picture.isNull())
                throw Failure(QStringLiteral("Cannot open file \"%1\". Not a readable picture")
                                  .arg(QDir::toNativeSeparators(object.file)));
            pictures.insert(object.name, picture);
        }
        pictures_.insert(pictures);
        page_ = std::move(page);
    }
    return *page_;
}

// A picture put in by the program, or else the one that comes with the template.
QImage PageReport::picture(const PageObject &object) const
{
    if (const auto it = pictures_.constFind(object.name); it != pictures_.cend())
        return it.value();
    if (object.file.isEmpty())
        return {};
    return *pictures_.insert(object.name, QImage(object.file));
}

void PageReport::setVariable(const QString &name, const QString &text)
{
    variables_.insert(name.toLower(), text);
}

QString PageReport::variable(const QString &name) const
{
    return variables_.value(name.toLower());
}

bool PageReport::loadPicture(const QString &objectName, const QImage &picture)
{
    for (const PageObject &object : page().objects) {
        if (object.name == objectName && object.kind == PageObject::Kind::Picture) {
            pictures_.insert(objectName, picture);
            return true;
        }
    }
    return false;
}

QString PageReport::filled(const QString &text) const
{
    static const QRegularExpression placeholder(QStringLiteral("\\[([^\\[\\]]+)\\]"));
    QString out;
    qsizetype from = 0;
    for (auto it = placeholder.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(text).mid(from, m.capturedStart() - from);
        out += variable(m.captured(1));
        from = m.capturedEnd();
    }
    out += QStringView(text).mid(from);
    return out;
}

FittedText fitText(const QString &text, const QFont &font, const QRectF &box, QPaintDevice *device)
{
    QString plain = text;
    plain.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QFont f = font;
    // A line shows when its baseline lies in the box: its descenders may
    // touch the lower edge, as the template's tight boxes were drawn for.
    const auto layOut = [&](double points, FittedText &out) {
        f.setPointSizeF(points);
        const QFontMetricsF metrics(f, device);
        QTextLayout layout(plain, f, device);
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        qreal top = 0;
        bool fits = true;
        qsizetype lastStart = 0; // where the last line shown starts in the text
        out = FittedText{points, {}, false};
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(box.width());
            const bool shows = top + metrics.ascent() <= box.height() + 0.01;
            const QString words = plain.mid(line.textStart(), line.textLength());
            if (!shows) {
                fits = false;
                // The last line that shows takes what is left, ended by "…".
                if (!out.lines.isEmpty()) {
                    QString rest = plain.mid(lastStart);
                    rest.replace(QChar::LineSeparator, QLatin1Char(' '));
                    QString cut = metrics.elidedText(rest + QChar(0x2026), Qt::ElideRight, box.width());
                    if (!cut.endsWith(QChar(0x2026)))
                        cut += QChar(0x2026);
                    out.lines.last() = cut;
                }
                out.cut = true;
                break;
            }
            // The blanks a line was broken at go; those that place a text stay.
            QString shown = QString(words).remove(QChar::LineSeparator);
            while (shown.endsWith(QLatin1Char(' ')))
                shown.chop(1);
            if (metrics.horizontalAdvance(shown) > box.width() + 0.01) {
                fits = false; // a word longer than the box
                if (points <= kSmallestPoints) {
                    shown = metrics.elidedText(shown, Qt::ElideRight, box.width());
                    out.cut = true;
                }
            }
            out.lines << shown;
            lastStart = line.textStart();
            top += metrics.lineSpacing();
        }
        layout.endLayout();
        return fits;
    };
    FittedText fitted;
    for (double points = font.pointSizeF(); points > kSmallestPoints; points -= 0.25)
        if (layOut(points, fitted))
            return fitted;
    layOut(kSmallestPoints, fitted);
    return fitted;
}

void PageReport::paint(QPainter &painter, qreal dpi) const
{
    const qreal px = dpi / 25.4; // device pixels per millimetre
    const auto toDevice = [px](const QRectF &mm) {
        return QRectF(mm.x() * px, mm.y() * px, mm.width() * px, mm.height() * px);
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const PageObject &object : page().objects) {
        const QRectF box = toDevice(object.box);
        switch (object.kind) {
        case PageObject::Kind::Line:
            painter.setPen(QPen(Qt::black, 0.2 * px));
            painter.drawLine(box.topLeft(), box.bottomRight());
            break;
        case PageObject::Kind::Picture: {
            const QImage picture = this->picture(object);
            if (picture.isNull())
                break;
            // Scaled to fit with its proportions, at the box's top-left corner.
            const QSizeF fitted = QSizeF(picture.size()).scaled(box.size(), Qt::KeepAspectRatio);
            painter.drawImage(QRectF(box.topLeft(), fitted), picture);
            break;
        }
        case PageObject::Kind::Text: {
            // Arial at its size in points; the device's resolution turns it into pixels.
            QFont font(QStringLiteral("Arial"));
            font.setPointSizeF(object.points);
            font.setBold(object.bold);
            const FittedText fitted = fitText(filled(object.text), font, box, painter.device());
            font.setPointSizeF(fitted.points);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.save();
            painter.setClipRect(box);
            const int align = (object.centre ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop;
            const QFontMetricsF metrics(font, painter.device());
            qreal top = box.top();
            for (const QString &line : fitted.lines) {
                painter.drawText(QRectF(box.left(), top, box.width(), metrics.height()), align, line);
                top += metrics.lineSpacing();
            }
            painter.restore();
            break;
        }
        }
    }
    painter.restore();
}

bool PageReport::print(QPagedPaintDevice &device) const
{
    const PageTemplate &p = page();
    const qreal m = p.marginMm;
    device.setPageLayout(QPageLayout(QPageSize(QSizeF(p.widthMm, p.heightMm), QPageSize::Millimeter),
                                     QPageLayout::Portrait, QMarginsF(m, m, m, m), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    paint(painter, device.logicalDpiX());
    if (cost_) {
        if (!device.newPage())
            return false;
        paintCostPage(painter, device.logicalDpiX(), p.widthMm - 2 * m, *cost_);
    }
    return painter.end();
}

} // namespace reports
