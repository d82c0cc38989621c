#pragma once
// A small mixed-integer linear programme and the solver that answers it,
// kept apart from the composition so that another solver could replace the
// one the program ships (GLPK).
#include <QList>
#include <limits>

namespace fertilizers {

inline constexpr double unbounded = std::numeric_limits<double>::infinity();

// Minimise the sum of cost × value over the columns, each within its
// bounds, with every row's sum of coefficient × value within the row's.
struct MixedIntegerProgramme {
    enum class Kind { Continuous, Integer, Binary };
    struct Column {
        double cost = 0;
        double lower = 0, upper = unbounded;
        Kind kind = Kind::Continuous;
    };
    struct Term {
        int column;
        double coefficient;
    };
    struct Row {
        QList<Term> terms;
        double lower = -unbounded, upper = unbounded;
    };
    QList<Column> columns;
    QList<Row> rows;
    double timeLimitSeconds = 0; // 0: no limit
    // Values by column known to meet every row, a solution to start from
    // (none: empty); the search then only looks for better ones.
    QList<double> start;

    int addColumn(double cost, double lower, double upper, Kind kind)
    {
        columns.append({cost, lower, upper, kind});
        return int(columns.size() - 1);
    }
    int addRow(QList<Term> terms, double lower, double upper)
    {
        rows.append({std::move(terms), lower, upper});
        return int(rows.size() - 1);
    }
};

struct MipAnswer {
    enum class Status {
        Optimal,
        Feasible,   // stopped by the time limit with a solution in hand
        Infeasible, // no values meet every row
        NoSolution, // stopped by the time limit before any solution
        Failed      // the solver refused the programme
    };
    Status status = Status::Failed;
    QList<double> values; // by column, when Optimal or Feasible
    double objective = 0;
    bool hasSolution() const { return status == Status::Optimal || status == Status::Feasible; }
};

class MipSolver {
public:
    virtual ~MipSolver() = default;
    virtual MipAnswer solve(const MixedIntegerProgramme &programme) const = 0;
};

// GLPK, silent and safe from any thread: it prints nothing, a programme it
// refuses is an answer (Failed) rather than the end of the program, and
// each call leaves no solver memory behind in its thread.
const MipSolver &glpkSolver();

} // namespace fertilizers
