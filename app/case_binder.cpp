// The one table that names the window's components holding a case, with the
// place each holds in the model; the window's contents are read into the
// model, written back from it, and format 1 files (keyed by these names)
// migrated, all through it.
#include "app/CaseBinding.h"
#include "app/StringGrid.h"
#include "app/TFPrincipal.h"
#include "cases/CaseJson.h"
#include "model/Case.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QHash>
#include <QTabWidget>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {

using model::Case;
using Rows = QList<QStringList>;

// A component and its place in the model: a text (field, memo or caption),
// a list's choice, a date, a check, a grid's rows below its titles, or the
// page a tab control shows. One of them is set.
struct Binding {
    QString component;
    std::function<QString &(Case &)> text;
    std::function<model::Choice &(Case &)> choice;
    std::function<QDate &(Case &)> date;
    std::function<bool(const Case &)> checked;
    std::function<void(Case &, bool)> check;
    std::function<Rows(const Case &)> rows;
    std::function<void(Case &, const Rows &)> setRows;
    std::function<int &(Case &)> page;
};

Binding named(const char *component)
{
    Binding b;
    b.component = QLatin1String(component);
    return b;
}

Binding text(const char *component, std::function<QString &(Case &)> of)
{
    Binding b = named(component);
    b.text = std::move(of);
    return b;
}

Binding number(const char *component, std::function<model::Number &(Case &)> of)
{
    return text(component, [of](Case &c) -> QString & { return of(c).text; });
}

Binding choice(const char *component, std::function<model::Choice &(Case &)> of)
{
    Binding b = named(component);
    b.choice = std::move(of);
    return b;
}

Binding date(const char *component, std::function<QDate &(Case &)> of)
{
    Binding b = named(component);
    b.date = std::move(of);
    return b;
}

Binding flag(const char *component, std::function<bool &(Case &)> of)
{
    Binding b = named(component);
    b.checked = [of](const Case &c) { return of(const_cast<Case &>(c)); };
    b.check = [of](Case &c, bool on) { of(c) = on; };
    return b;
}

// A radio button of a group whose choice the model keeps as one value.
template <class E> Binding option(const char *component, E value, std::function<E &(Case &)> of)
{
    Binding b = named(component);
    b.checked = [of, value](const Case &c) { return of(const_cast<Case &>(c)) == value; };
    b.check = [of, value](Case &c, bool on) {
        if (on)
            of(c) = value;
        else if (of(c) == value)
            of(c) = E{};
    };
    return b;
}

// Rows of a grid: each model row to its cells and back.
template <class Row, class Container>
Binding grid(const char *component, std::function<Container &(Case &)> of, std::function<QStringList(const Row &)> cells,
             std::function<Row(const QStringList &)> row)
{
    Binding b = named(component);
    b.rows = [of, cells](const Case &c) {
        Rows rows;
        for (const Row &r : of(const_cast<Case &>(c)))
            rows << cells(r);
        return rows;
    };
    b.setRows = [of, row](Case &c, const Rows &rows) {
        Container &target = of(c);
        target.clear();
        for (const QStringList &texts : rows)
            target.push_back(row(texts));
    };
    return b;
}

Binding page(const char *component, std::function<int &(Case &)> of)
{
    Binding b = named(component);
    b.page = std::move(of);
    return b;
}

QStringList nutrientCells(const model::Nutrients &n) { return {n.n.text, n.p2o5.text, n.k2o.text}; }
model::Nutrients nutrientsOf(const QStringList &cells, int first)
{
    return {{cells.value(first)}, {cells.value(first + 1)}, {cells.value(first + 2)}};
}

Binding splitGrid(const char *component, std::function<QList<model::SplitRow> &(Case &)> of)
{
    return grid<model::SplitRow, QList<model::SplitRow>>(
        component, std::move(of),
        [](const model::SplitRow &r) {
            return QStringList{r.application, r.epoch, r.percent.text, r.amount.text};
        },
        [](const QStringList &c) {
            return model::SplitRow{c.value(0), c.value(1), {c.value(2)}, {c.value(3)}};
        });
}

Binding productGrid(const char *component, std::function<QList<model::ProductRow> &(Case &)> of)
{
    return grid<model::ProductRow, QList<model::ProductRow>>(
        component, std::move(of),
        [](const model::ProductRow &r) { return QStringList{r.product, r.quantity.text} + nutrientCells(r.supplies); },
        [](const QStringList &c) { return model::ProductRow{c.value(0), {c.value(1)}, nutrientsOf(c, 2)}; });
}

// An application's components, named as the window names them.
struct ApplicationNames {
    const char *grid, *missing[3], *combo, *quantity, *contents[3], *supplies[3];
};

void bindApplication(std::vector<Binding> &t, const ApplicationNames &n, std::function<model::Application &(Case &)> of)
{
    t.push_back(productGrid(n.grid, [of](Case &c) -> QList<model::ProductRow> & { return of(c).products; }));
    using N = model::Nutrients;
    const std::array<model::Number N::*, 3> nutrients{&N::n, &N::p2o5, &N::k2o};
    for (int i = 0; i < 3; ++i) {
        const auto member = nutrients[size_t(i)];
        t.push_back(number(n.missing[i], [of, member](Case &c) -> model::Number & { return of(c).missing.*member; }));
        t.push_back(number(n.contents[i],
                           [of, member](Case &c) -> model::Number & { return of(c).mineralContents.*member; }));
        t.push_back(number(n.supplies[i],
                           [of, member](Case &c) -> model::Number & { return of(c).mineralSupplies.*member; }));
    }
    t.push_back(choice(n.combo, [of](Case &c) -> model::Choice & { return of(c).mineral; }));
    t.push_back(number(n.quantity, [of](Case &c) -> model::Number & { return of(c).mineralQuantity; }));
}

const std::vector<Binding> &bindings()
{
    static const std::vector<Binding> table = [] {
        using model::Number;
        std::vector<Binding> t{
            // The producer and the field
            text("Edit55", [](Case &c) -> QString & { return c.producer.name; }),
            text("Edit56", [](Case &c) -> QString & { return c.producer.cpf; }),
            text("Edit57", [](Case &c) -> QString & { return c.producer.place; }),
            text("Edit58", [](Case &c) -> QString & { return c.producer.town; }),
            text("Edit59", [](Case &c) -> QString & { return c.field.name; }),
            text("Edit60", [](Case &c) -> QString & { return c.field.report; }),
            number("Edit12", [](Case &c) -> Number & { return c.field.expectedYield; }),
            // The soil analysis and its classes
            number("Edit1", [](Case &c) -> Number & { return c.analysis.clay; }),
            number("Edit70", [](Case &c) -> Number & { return c.analysis.ph; }),
            number("Edit2", [](Case &c) -> Number & { return c.analysis.phosphorus; }),
            number("Edit3", [](Case &c) -> Number & { return c.analysis.potassium; }),
            number("Edit4", [](Case &c) -> Number & { return c.analysis.organicMatter; }),
            number("Edit5", [](Case &c) -> Number & { return c.analysis.aluminium; }),
            number("Edit6", [](Case &c) -> Number & { return c.analysis.calcium; }),
            number("Edit7", [](Case &c) -> Number & { return c.analysis.magnesium; }),
            number("Edit8", [](Case &c) -> Number & { return c.analysis.ctc; }),
            number("Edit9", [](Case &c) -> Number & { return c.analysis.baseSaturation; }),
            text("Edit68", [](Case &c) -> QString & { return c.analysis.clayClass; }),
            text("Edit11", [](Case &c) -> QString & { return c.analysis.phosphorusClass; }),
            text("Edit10", [](Case &c) -> QString & { return c.analysis.potassiumClass; }),
            text("Edit69", [](Case &c) -> QString & { return c.analysis.ctcClass; }),
            // Liming
            number("Edit13", [](Case &c) -> Number & { return c.liming.caMg; }),
            number("Edit14", [](Case &c) -> Number & { return c.liming.caMgRatio; }),
            number("Edit16", [](Case &c) -> Number & { return c.liming.baseSaturation.ctc; }),
            number("Edit17", [](Case &c) -> Number & { return c.liming.baseSaturation.targetSaturation; }),
            number("Edit18", [](Case &c) -> Number & { return c.liming.baseSaturation.currentSaturation; }),
            number("Edit19", [](Case &c) -> Number & { return c.liming.baseSaturation.need; }),
            number("Edit20", [](Case &c) -> Number & { return c.liming.lowBuffering.organicMatter; }),
            number("Edit21", [](Case &c) -> Number & { return c.liming.lowBuffering.aluminium; }),
            number("Edit22", [](Case &c) -> Number & { return c.liming.lowBuffering.need; }),
            number("Edit26", [](Case &c) -> Number & { return c.liming.aluminium.factor; }),
            number("Edit27", [](Case &c) -> Number & { return c.liming.aluminium.aluminium; }),
            number("Edit29", [](Case &c) -> Number & { return c.liming.aluminium.caMg; }),
            number("Edit28", [](Case &c) -> Number & { return c.liming.aluminium.need; }),
            number("Edit61", [](Case &c) -> Number & { return c.liming.need; }),
            text("Memo1", [](Case &c) -> QString & { return c.liming.observation; }),
            number("Edit23", [](Case &c) -> Number & { return c.liming.commercial.need; }),
            number("Edit24", [](Case &c) -> Number & { return c.liming.commercial.prnt; }),
            number("Edit25", [](Case &c) -> Number & { return c.liming.commercial.quantity; }),
            // Doses and their split
            number("edit30", [](Case &c) -> Number & { return c.doses.nitrogen; }),
            number("edit31", [](Case &c) -> Number & { return c.doses.potash; }),
            number("edit32", [](Case &c) -> Number & { return c.doses.phosphate; }),
            text("Label34", [](Case &c) -> QString & { return c.doses.phosphateNote; }),
            splitGrid("stga1", [](Case &c) -> QList<model::SplitRow> & { return c.doses.nitrogenSplit; }),
            splitGrid("stga2", [](Case &c) -> QList<model::SplitRow> & { return c.doses.potashSplit; }),
            grid<model::ApplicationDoses, QList<model::ApplicationDoses>>(
                "stga3", [](Case &c) -> QList<model::ApplicationDoses> & { return c.doses.applications; },
                [](const model::ApplicationDoses &r) {
                    return QStringList{r.application, r.epoch} + nutrientCells(r.doses);
                },
                [](const QStringList &c) { return model::ApplicationDoses{c.value(0), c.value(1), nutrientsOf(c, 2)}; }),
            // Planting's organic fertilizer
            option<model::Planting::Kind>("RadioButton1", model::Planting::Kind::Organic,
                                          [](Case &c) -> model::Planting::Kind & { return c.planting.kind; }),
            option<model::Planting::Kind>("RadioButton2", model::Planting::Kind::Mineral,
                                          [](Case &c) -> model::Planting::Kind & { return c.planting.kind; }),
            choice("ComboBox1", [](Case &c) -> model::Choice & { return c.planting.organic.product; }),
            number("Edit33", [](Case &c) -> Number & { return c.planting.organic.quantity; }),
            number("Edit62", [](Case &c) -> Number & { return c.planting.organic.nEfficiency; }),
            number("Edit63", [](Case &c) -> Number & { return c.planting.organic.pEfficiency; }),
            number("Edit65", [](Case &c) -> Number & { return c.planting.organic.kEfficiency; }),
            number("Edit87", [](Case &c) -> Number & { return c.planting.organic.dryMatter; }),
            number("Edit88", [](Case &c) -> Number & { return c.planting.organic.wetWeight; }),
            // The calendar chart's options
            date("DateTimePicker2", [](Case &c) -> QDate & { return c.calendar.planting; }),
            flag("CheckBox1", [](Case &c) -> bool & { return c.calendar.stems; }),
            flag("CheckBox2", [](Case &c) -> bool & { return c.calendar.leaves; }),
            flag("CheckBox3", [](Case &c) -> bool & { return c.calendar.seedCuttings; }),
            flag("CheckBox4", [](Case &c) -> bool & { return c.calendar.storageRoots; }),
            option<model::Calendar::Scale>("RadioButton7", model::Calendar::Scale::DaysAfterPlanting,
                                           [](Case &c) -> model::Calendar::Scale & { return c.calendar.scale; }),
            option<model::Calendar::Scale>("RadioButton8", model::Calendar::Scale::Dates,
                                           [](Case &c) -> model::Calendar::Scale & { return c.calendar.scale; }),
            text("LabeledEdit1", [](Case &c) -> QString & { return c.calendar.legend[0]; }),
            text("LabeledEdit2", [](Case &c) -> QString & { return c.calendar.legend[1]; }),
            text("LabeledEdit3", [](Case &c) -> QString & { return c.calendar.legend[2]; }),
            text("LabeledEdit4", [](Case &c) -> QString & { return c.calendar.legend[3]; }),
            // The report
            text("Memo3", [](Case &c) -> QString & { return c.report.recommendations; }),
            text("Edit15", [](Case &c) -> QString & { return c.report.technician; }),
            date("DateTimePicker3", [](Case &c) -> QDate & { return c.report.date; }),
            // Where the technician stood
            page("PageControl1", [](Case &c) -> int & { return c.shownTab; }),
        };
        using C = model::OrganicFertilizer::Closing;
        const std::pair<const char *, C> closings[] = {
            {"RadioButton3", C::ByN}, {"RadioButton4", C::ByP}, {"RadioButton5", C::ByK}, {"RadioButton6", C::ByLeast}};
        for (const auto &[component, closing] : closings)
            t.push_back(option<C>(component, closing, [](Case &c) -> C & { return c.planting.organic.closing; }));

        bindApplication(t,
                        {"stga4", {"Edit50", "Edit52", "Edit54"}, "ComboBox2", "Edit40", {"Edit34", "Edit35", "Edit36"},
                         {"Edit37", "Edit38", "Edit39"}},
                        [](Case &c) -> model::Application & { return c.planting; });
        const ApplicationNames topDressings[] = {
            {"stga5", {"Edit64", "Edit66", "Edit67"}, "ComboBox3", "Edit41", {"Edit42", "Edit43", "Edit44"},
             {"Edit45", "Edit46", "Edit47"}},
            {"Stga6", {"Edit49", "Edit51", "Edit53"}, "ComboBox4", "Edit48", {"Edit71", "Edit72", "Edit73"},
             {"Edit74", "Edit75", "Edit76"}},
            {"stga7", {"Edit78", "Edit79", "Edit80"}, "ComboBox5", "Edit77", {"Edit81", "Edit82", "Edit83"},
             {"Edit84", "Edit85", "Edit86"}},
        };
        for (size_t i = 0; i < 3; ++i)
            bindApplication(t, topDressings[i], [i](Case &c) -> model::Application & { return c.topDressings[i]; });
        return t;
    }();
    return table;
}

// The rows below a grid's titles.
Rows rowsBelowTitles(const StringGrid *grid)
{
    Rows rows;
    for (int r = 1; r < grid->rowCount(); ++r)
        rows << grid->rowTexts(r);
    return rows;
}

// More rows than any list of products a technician composes.
constexpr int kMaxGridRows = 1000;

// Whether a component is of the kind its place in the model is read from.
bool holds(const Binding &b, const QWidget *w)
{
    if (!w)
        return false;
    if (b.text)
        return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w) ||
               qobject_cast<const QLabel *>(w);
    if (b.choice)
        return qobject_cast<const QComboBox *>(w);
    if (b.date)
        return qobject_cast<const QDateTimeEdit *>(w);
    if (b.check)
        return qobject_cast<const QAbstractButton *>(w);
    if (b.rows)
        return qobject_cast<const StringGrid *>(w);
    return qobject_cast<const QTabWidget *>(w);
}

} // namespace

QStringList caseBinding::unbound(const QHash<QString, QWidget *> &byName)
{
    QStringList names;
    for (const Binding &b : bindings())
        if (!holds(b, byName.value(b.component)))
            names << b.component;
    return names;
}

const std::vector<QWidget *> &TFPrincipal::caseComponents() const
{
    if (caseComponents_.empty()) {
        QHash<QString, QWidget *> byName;
        for (QWidget *w : findChildren<QWidget *>())
            if (inCase(w))
                byName.insert(w->objectName(), w);
        // Found first while the window is built: a name the table misspells
        // stops the program there, not at the first case saved.
        if (const QStringList names = caseBinding::unbound(byName); !names.isEmpty())
            throw std::logic_error("case components missing or of another kind: " +
                                   names.join(QLatin1String(", ")).toStdString());
        for (const Binding &b : bindings())
            caseComponents_.push_back(byName.value(b.component));
    }
    return caseComponents_;
}

model::Case TFPrincipal::caseState() const
{
    model::Case c;
    c.decimalSeparator = numbers().separator();
    for (size_t i = 0; i < bindings().size(); ++i) {
        const Binding &b = bindings()[i];
        const QWidget *w = caseComponents()[i];
        if (b.text) {
            QString &text = b.text(c);
            if (const auto *edit = qobject_cast<const QLineEdit *>(w))
                text = edit->text();
            else if (const auto *memo = qobject_cast<const QPlainTextEdit *>(w))
                text = memo->toPlainText();
            else if (const auto *label = qobject_cast<const QLabel *>(w))
                text = label->text();
        } else if (b.choice) {
            const auto *list = qobject_cast<const QComboBox *>(w);
            b.choice(c) = {list->currentIndex(), list->currentText()};
        } else if (b.date) {
            b.date(c) = qobject_cast<const QDateTimeEdit *>(w)->date();
        } else if (b.check) {
            b.check(c, qobject_cast<const QAbstractButton *>(w)->isChecked());
        } else if (b.rows) {
            b.setRows(c, rowsBelowTitles(qobject_cast<const StringGrid *>(w)));
        } else if (b.page) {
            b.page(c) = qobject_cast<const QTabWidget *>(w)->currentIndex();
        }
    }
    c.worksheet = worksheet_;
    c.prices = prices_;
    c.composition = composition_;
    return c;
}

void TFPrincipal::checkCase(const model::Case &c, const QString &fileName) const
{
    model::Case copy = c;
    for (size_t i = 0; i < bindings().size(); ++i) {
        const Binding &b = bindings()[i];
        const QWidget *w = caseComponents()[i];
        if (b.choice) {
            if (b.choice(copy).index >= qobject_cast<const QComboBox *>(w)->count())
                throw cases::damagedFile(fileName);
        } else if (b.date) {
            const auto *picker = qobject_cast<const QDateTimeEdit *>(w);
            const QDate date = b.date(copy);
            if (date.isValid() && (date < picker->minimumDate() || date > picker->maximumDate()))
                throw cases::damagedFile(fileName);
        } else if (b.rows) {
            if (b.rows(copy).size() >= kMaxGridRows)
                throw cases::damagedFile(fileName);
        } else if (b.page) {
            const int page = b.page(copy);
            if (page < 0 || page >= qobject_cast<const QTabWidget *>(w)->count())
                throw cases::damagedFile(fileName);
        }
    }
}

void TFPrincipal::restoreCase(const model::Case &source)
{
    model::Case c = source;
    // The restored results come without their working.
    working_->forget(true);
    const std::vector<QWidget *> &components = caseComponents();
    // Every component stays silent until all are written: a radio button
    // chosen here unchecks its neighbour, which must not answer either.
    std::vector<QSignalBlocker> silence;
    silence.reserve(components.size());
    for (QWidget *w : components)
        silence.emplace_back(w);

    std::vector<QAbstractButton *> unchecked;
    for (size_t i = 0; i < components.size(); ++i) {
        const Binding &b = bindings()[i];
        QWidget *w = components[i];
        if (b.text) {
            const QString &text = b.text(c);
            if (auto *edit = qobject_cast<QLineEdit *>(w))
                edit->setText(text);
            else if (auto *memo = qobject_cast<QPlainTextEdit *>(w))
                memo->setPlainText(text);
            else if (auto *label = qobject_cast<QLabel *>(w))
                label->setText(text);
        } else if (b.choice) {
            auto *list = qobject_cast<QComboBox *>(w);
            list->setCurrentIndex(b.choice(c).index);
            list->setEditText(b.choice(c).text);
        } else if (b.date) {
            if (b.date(c).isValid())
                qobject_cast<QDateTimeEdit *>(w)->setDate(b.date(c));
        } else if (b.check) {
            auto *button = qobject_cast<QAbstractButton *>(w);
            // Choices first: unchecking a lone chosen radio button is refused.
            if (b.checked(c))
                button->setChecked(true);
            else
                unchecked.push_back(button);
        } else if (b.rows) {
            auto *grid = qobject_cast<StringGrid *>(w);
            const Rows rows = b.rows(c);
            grid->setRows(int(rows.size()) + 1);
            for (int r = 0; r < rows.size(); ++r)
                for (int col = 0; col < grid->columnCount(); ++col)
                    grid->setCell(col, r + 1, rows.at(r).value(col));
        } else if (b.page) {
            qobject_cast<QTabWidget *>(w)->setCurrentIndex(b.page(c));
        }
    }
    for (QAbstractButton *button : unchecked)
        button->setChecked(false);
    worksheet_ = c.worksheet;
    prices_ = c.prices;
    composition_ = c.composition;
}

model::Case TFPrincipal::migrated(const cases::FormatOne &old, const QString &fileName) const
{
    // What format 1 left out stays as the window starts.
    model::Case c = startState_;
    c.decimalSeparator = old.decimalSeparator;
    for (const Binding &b : bindings()) {
        const QString &name = b.component;
        if (b.text) {
            for (const QMap<QString, QString> *texts : {&old.fields, &old.memos, &old.labels})
                if (const auto it = texts->constFind(name); it != texts->cend())
                    b.text(c) = *it;
        } else if (b.choice) {
            if (const auto it = old.lists.constFind(name); it != old.lists.cend())
                b.choice(c) = {it->index, it->text};
        } else if (b.date) {
            if (const auto it = old.dates.constFind(name); it != old.dates.cend())
                b.date(c) = *it;
        } else if (b.check) {
            if (const auto it = old.checks.constFind(name); it != old.checks.cend())
                b.check(c, *it);
        } else if (b.rows) {
            if (const auto it = old.grids.constFind(name); it != old.grids.cend()) {
                // A grid's width and its title row were kept with its cells.
                const auto *grid = findChild<const StringGrid *>(name);
                if (it->isEmpty() || it->size() > kMaxGridRows)
                    throw cases::damagedFile(fileName);
                for (const QStringList &row : *it)
                    if (row.size() != grid->columnCount())
                        throw cases::damagedFile(fileName);
                b.setRows(c, it->mid(1));
            }
        } else if (b.page) {
            if (const auto it = old.pages.constFind(name); it != old.pages.cend())
                b.page(c) = *it;
        }
    }
    // The worksheet under the names format 1 gave it.
    agronomy::Worksheet &w = c.worksheet;
    const std::pair<const char *, double *> worksheet[] = {
        {"argila", &w.argila}, {"CTC", &w.ctc}, {"Ca", &w.ca}, {"Mg", &w.mg}, {"K", &w.k}, {"P", &w.p},
        {"Lm1K", &w.potassiumLimits.l1}, {"Lm2K", &w.potassiumLimits.l2}, {"Lm3K", &w.potassiumLimits.l3},
        {"Lm4K", &w.potassiumLimits.l4}, {"Lm1P", &w.phosphorusLimits.l1}, {"Lm2P", &w.phosphorusLimits.l2},
        {"Lm3P", &w.phosphorusLimits.l3}, {"Lm4P", &w.phosphorusLimits.l4}};
    for (const auto &[name, value] : worksheet)
        if (const auto it = old.worksheet.constFind(QLatin1String(name)); it != old.worksheet.cend())
            *value = *it;
    return c;
}
