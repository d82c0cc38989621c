// The working of each result: kept as the handlers write their results, shown
// in a tooltip over the field or cell, and gathered into "Memória de cálculo".
#include "agronomy/Applications.h"
#include "agronomy/ResultNames.h"
#include "reports/PdfExport.h"
#include "reports/ReportFile.h"
#include "reports/WorkingReport.h"
#include "app/ReportPreview.h"
#include "app/StringGrid.h"
#include "app/TFPrincipal.h"
#include "core/Dates.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolTip>
#include <algorithm>

using namespace applications;

void TFPrincipal::explain(const Place &at, const QString &section, const Told &told, std::initializer_list<Place> from,
                          Kind kind)
{
    working_->explain(at, section, told, from, kind);
}

// The technician's name for a place that a result was computed from.
QString TFPrincipal::placeName(const Place &place) const
{
    const int inApplication = place.row - Planting;
    if (place.widget == stga1 || place.widget == stga2) {
        const QString nutrient = place.widget == stga1 ? QStringLiteral("N") : QStringLiteral("K2O");
        return place.column == PercentColumn ? QStringLiteral("%1 da dose de %2 %3").arg(QStringLiteral("%"), nutrient,
                                                                                       results::inApplication(inApplication))
                                             : results::splitAmount(nutrient, inApplication);
    }
    if (place.widget == stga3)
        return QStringLiteral("Dose de %1 %2")
            .arg(results::nutrientNames.value(place.column - NColumn), results::inApplication(inApplication));
    static const QHash<QString, QString> names{
        {"Edit1", "Argila"}, {"Edit2", "P"}, {"Edit3", "K"}, {"Edit4", "MO"}, {"Edit5", "Al"}, {"Edit6", "Ca"},
        {"Edit7", "Mg"}, {"Edit8", "CTC"}, {"Edit9", "V"}, {"Edit12", "Produtividade esperada"},
        {"Edit10", "Classe de K"}, {"Edit11", "Classe de P"}, {"Edit16", "CTC da calagem"}, {"Edit17", "V1"},
        {"Edit18", "V2"}, {"Edit20", "MO da calagem"}, {"Edit21", "Al do baixo poder tampão"}, {"Edit26", "f"},
        {"Edit27", "Al do alumínio trocável"}, {"Edit29", "Ca+Mg"}, {"Edit23", "Necessidade calcário PRNT 100%"},
        {"Edit24", "PRNT comercial"}, {"edit30", "Dose de N"}, {"edit31", "Dose de K2O"}, {"edit32", "Dose de P2O5"},
        {"Edit33", "Quantidade do adubo orgânico"}, {"Edit87", "Matéria seca"}, {"Edit62", "Eficiência de N"},
        {"Edit63", "Eficiência de P"}, {"Edit65", "Eficiência de K"}};
    if (const auto it = names.constFind(place.widget->objectName()); it != names.cend())
        return it.value();
    for (int row = Planting; row <= ThirdTopDressing; ++row) {
        const Application &a = application(row);
        for (int n = 0; n < nutrients; ++n) {
            const QString nutrient = results::nutrientNames[n];
            if (place.widget == a.faltante[n])
                return results::faltante(nutrient, row - Planting);
            if (place.widget == a.percent[n])
                return QStringLiteral("Teor de %1 do produto (%)").arg(nutrient);
            if (place.widget == a.kg[n])
                return QStringLiteral("%1 fornecido (kg)").arg(nutrient);
        }
        if (place.widget == a.quantity)
            return QStringLiteral("Quantidade do produto");
        if (place.widget == a.combo)
            return QStringLiteral("Produto");
    }
    return QStringLiteral("campo %1").arg(place.widget->objectName());
}

QString TFPrincipal::workingOf(const QWidget *field) const
{
    return working_->workingAt({field});
}

QString TFPrincipal::workingOf(const StringGrid *grid, int column, int row) const
{
    return working_->workingAt({grid, column, row});
}

CaseWorking TFPrincipal::caseWorking() const
{
    return working_->caseWorking();
}

bool TFPrincipal::showWorking(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return false;
    Place place{widget};
    if (auto *grid = qobject_cast<StringGrid *>(widget->parentWidget()); grid && widget == grid->viewport()) {
        const QTableWidgetItem *item = grid->itemAt(static_cast<QHelpEvent *>(event)->pos());
        if (!item || item->row() == TitleRow)
            return false;
        place = {grid, item->column(), item->row()};
    } else if (auto *memo = qobject_cast<QPlainTextEdit *>(widget->parentWidget()); memo && widget == memo->viewport()) {
        place = {memo};
    }
    if (!working_->shows(place.widget))
        return false;
    const QString text = working_->workingAt(place);
    if (text.isEmpty()) {
        QToolTip::hideText();
        return true;
    }
    // Rich text, so that the working wraps instead of running off the screen.
    QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(),
                       QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped()), widget);
    return true;
}

void TFPrincipal::wireWorking()
{
    QList<QWidget *> shown{Edit68, Edit11, Edit10, Edit69, Edit13, Edit14, Edit29, Edit26, Edit20, Edit21, Edit27,
                           Edit16, Edit18, edit30, edit31, edit32, Label34, Edit19, Edit22, Edit28, Memo1, Edit61,
                           Edit23, Edit25, stga1, stga2, stga3, Edit33, Edit88};
    for (int row = Planting; row <= ThirdTopDressing; ++row) {
        const Application &a = application(row);
        shown << a.quantity;
        for (int n = 0; n < nutrients; ++n)
            shown << a.faltante[n] << a.kg[n];
    }
    for (QWidget *widget : std::as_const(shown)) {
        working_->show(widget);
        if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
            area->viewport()->installEventFilter(this);
        else
            widget->installEventFilter(this);
    }
    onClick(btnMemoria, &TFPrincipal::btnMemoriaClick);
}

void TFPrincipal::btnMemoriaClick()
{
    const reports::WorkingDocument document = reports::workingDocument(
        caseState(), dates::shortDate(DateTimePicker3->date(), regional()), caseWorking());
    reports::PdfExport pdf;
    pdf.title = pdf.subject = reports::workingTitle;
    ReportPreview preview([&document](QPagedPaintDevice &device) { return reports::printWorking(document, device); },
                          pdf, QStringLiteral("Memoria.pdf"), this);
    preview.setWindowTitle(reports::workingTitle);
    // The text goes where the text report goes, through the same safe writer.
    preview.addTool("actionSaveText", QStringLiteral("Salvar texto"), [this, &document] {
        guard([&document] {
            const QString name = QStringLiteral("MemoriaTuberon.txt");
            reports::saveFile(name, reports::workingText(reports::workingTextLines(document)));
            reports::openFile(name);
        });
    });
    preview.exec();
}
