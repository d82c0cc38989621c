#pragma once
// The page report as a PDF document, with the document information the
// report carries (author and subject).
#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

class QPagedPaintDevice;

namespace reports {

class PageReport;

class PdfExport : public QObject {
    Q_OBJECT
public:
    explicit PdfExport(QObject *parent = nullptr);

    QString author = QStringLiteral("Tuberon");
    QString subject = QStringLiteral("Recomendação de calagem e adubação da mandioca");
    QString title = QStringLiteral("Tuberon");

    // The whole document in memory, so that a failed write to disk can never
    // leave half a file in the place of a good one.
    QByteArray document(const PageReport &report) const;

    // Writes the document to the path, replacing an existing file without
    // asking; on failure the operating system's reason, empty on success.
    QString exportTo(const PageReport &report, const QString &path) const;

    // The same for any paged document: print paints it on the writer.
    using Printing = std::function<bool(QPagedPaintDevice &device)>;
    QByteArray document(const Printing &print) const;
    QString exportTo(const Printing &print, const QString &path) const;
};

} // namespace reports
