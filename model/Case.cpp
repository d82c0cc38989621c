#include "model/Case.h"

#include "core/Failure.h"
#include "core/NumberText.h"
#include "model/CaseFields.h"


namespace model {

namespace {

// Rewrites each Number that is a number under one separator with another.
class SeparatorChange {
public:
    SeparatorChange(QChar from, QChar to) : from_(from), to_(to) {}

    void number(const char *, Number &n)
    {
        try {
            from_.toDouble(n.text);
        } catch (const Failure &) {
            return; // not a number (yet): kept as typed
        }
        // A number holds at most one separator; it is the only character to change.
        n.text.replace(from_.separator(), to_);
    }
    void text(const char *, QString &) {}
    void texts(const char *, QStringList &) {}
    // Kinds with their figures: told in whatever mark is in force where shown.
    void reasons(const char *, QList<fertilizers::CompositionReason> &) {}
    void maybeReal(const char *, std::optional<double> &) {}
    void choice(const char *, Choice &) {}
    void flag(const char *, bool &) {}
    void date(const char *, QDate &) {}
    void integer(const char *, int &) {}
    void real(const char *, double &) {}
    template <class E> void option(const char *, E &, std::initializer_list<std::pair<E, const char *>>) {}
    template <class F> void object(const char *, F &&visit) { visit(); }
    template <class C, class F> void list(const char *, C &rows, F &&visit)
    {
        for (auto &row : rows)
            visit(row);
    }
    template <class T, class F> void maybe(const char *, std::optional<T> &o, F &&visit)
    {
        if (o)
            visit(*o);
    }

private:
    NumberText from_;
    QChar to_;
};

} // namespace

Case withSeparator(const Case &source, QChar separator)
{
    Case result = source;
    if (source.decimalSeparator == separator)
        return result;
    SeparatorChange change(source.decimalSeparator, separator);
    visitCase(change, result);
    result.decimalSeparator = separator;
    return result;
}

} // namespace model
