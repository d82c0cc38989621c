#include "fertilizers/MipSolver.h"

#include <glpk.h>

#include <cmath>
#include <csetjmp>
#include <algorithm>
#include <vector>

namespace fertilizers {

namespace {

// GLPK stops the program on input it refuses unless its error hook leaves
// by longjmp; only plain C data lives in the frames it jumps over (the
// solving and the callback GLPK calls during the search), so nothing there
// has a destructor to skip. What owns memory is made by the caller first.
struct Escape {
    std::jmp_buf at;
};

void onGlpkError(void *info) { std::longjmp(static_cast<Escape *>(info)->at, 1); }

int silence(void *, const char *) { return 1; }

struct Matrix {
    std::vector<int> rows{0}, columns{0}; // GLPK's arrays count from 1
    std::vector<double> values{0};
};

int boundsType(double lower, double upper)
{
    const bool hasLower = std::isfinite(lower), hasUpper = std::isfinite(upper);
    if (hasLower && hasUpper)
        return lower == upper ? GLP_FX : GLP_DB;
    if (hasLower)
        return GLP_LO;
    return hasUpper ? GLP_UP : GLP_FR;
}

double finite(double v) { return std::isfinite(v) ? v : 0.0; }

struct Search {
    const double *start; // counted from 1, as GLPK reads it
    bool offered = false;
};

// Offers the known solution when the search first asks for one.
void offerStart(glp_tree *tree, void *info)
{
    auto *search = static_cast<Search *>(info);
    if (glp_ios_reason(tree) != GLP_IHEUR || search->offered)
        return;
    search->offered = true;
    glp_ios_heur_sol(tree, search->start);
}

// Builds and solves the programme; -1 when GLPK raised an error. `start` is
// the known solution counted from 1, or null.
int solveInGlpk(const MixedIntegerProgramme &p, const Matrix &m, const double *start, Escape &escape,
                MipAnswer &answer)
{
    if (setjmp(escape.at))
        return -1;
    glp_error_hook(onGlpkError, &escape);
    glp_term_out(GLP_OFF);
    glp_term_hook(silence, nullptr);
    glp_prob *lp = glp_create_prob();
    glp_set_obj_dir(lp, GLP_MIN);
    const int columnCount = int(p.columns.size()), rowCount = int(p.rows.size());
    if (columnCount > 0)
        glp_add_cols(lp, columnCount);
    if (rowCount > 0)
        glp_add_rows(lp, rowCount);
    for (int j = 0; j < columnCount; ++j) {
        const auto &c = p.columns[j];
        glp_set_obj_coef(lp, j + 1, c.cost);
        if (c.kind == MixedIntegerProgramme::Kind::Binary) {
            glp_set_col_kind(lp, j + 1, GLP_BV);
        } else {
            glp_set_col_bnds(lp, j + 1, boundsType(c.lower, c.upper), finite(c.lower), finite(c.upper));
            if (c.kind == MixedIntegerProgramme::Kind::Integer)
                glp_set_col_kind(lp, j + 1, GLP_IV);
        }
    }
    for (int i = 0; i < rowCount; ++i) {
        const auto &r = p.rows[i];
        glp_set_row_bnds(lp, i + 1, boundsType(r.lower, r.upper), finite(r.lower), finite(r.upper));
    }
    glp_load_matrix(lp, int(m.values.size()) - 1, m.rows.data(), m.columns.data(), m.values.data());

    glp_iocp parameters;
    glp_init_iocp(&parameters);
    parameters.msg_lev = GLP_MSG_OFF;
    if (p.timeLimitSeconds > 0)
        parameters.tm_lim = int(std::ceil(p.timeLimitSeconds * 1000));
    Search search{start};
    int code;
    if (start) {
        // The known solution goes to the search on the programme as it
        // stands, so the relaxation is solved first and the search's own
        // presolver, which would renumber the columns, stays off.
        glp_smcp simplex;
        glp_init_smcp(&simplex);
        simplex.msg_lev = GLP_MSG_OFF;
        simplex.presolve = GLP_ON;
        code = glp_simplex(lp, &simplex);
        if (code == 0 && glp_get_status(lp) == GLP_OPT) {
            parameters.cb_func = offerStart;
            parameters.cb_info = &search;
            code = glp_intopt(lp, &parameters);
        } else if (code == 0) {
            code = GLP_ENOPFS;
        }
    } else {
        parameters.presolve = GLP_ON; // glp_intopt needs it without an LP solved first
        code = glp_intopt(lp, &parameters);
    }
    const int status = glp_mip_status(lp);
    using S = MipAnswer::Status;
    if (code == 0 || code == GLP_ETMLIM || code == GLP_EMIPGAP || code == GLP_ESTOP) {
        if (status == GLP_OPT)
            answer.status = code == 0 ? S::Optimal : S::Feasible;
        else if (status == GLP_FEAS)
            answer.status = S::Feasible;
        else if (status == GLP_NOFEAS)
            answer.status = S::Infeasible;
        else
            answer.status = code == GLP_ETMLIM ? S::NoSolution : S::Infeasible;
    } else if (code == GLP_ENOPFS) {
        answer.status = S::Infeasible;
    } else {
        answer.status = S::Failed;
    }
    if (answer.hasSolution()) {
        answer.objective = glp_mip_obj_val(lp);
        // Sized by the caller: no allocation here, where GLPK may still jump.
        for (int j = 0; j < columnCount; ++j)
            answer.values[j] = glp_mip_col_val(lp, j + 1);
    }
    glp_delete_prob(lp);
    return 0;
}

class GlpkSolver : public MipSolver {
public:
    MipAnswer solve(const MixedIntegerProgramme &p) const override
    {
        Matrix m;
        for (int i = 0; i < int(p.rows.size()); ++i)
            for (const auto &t : p.rows[i].terms) {
                m.rows.push_back(i + 1);
                m.columns.push_back(t.column + 1);
                m.values.push_back(t.coefficient);
            }
        const int columnCount = int(p.columns.size());
        std::vector<double> start;
        if (p.start.size() == columnCount && columnCount > 0) {
            start.assign(size_t(columnCount) + 1, 0.0);
            std::copy(p.start.begin(), p.start.end(), start.begin() + 1);
        }
        MipAnswer answer;
        answer.values.resize(columnCount);
        Escape escape;
        if (solveInGlpk(p, m, start.empty() ? nullptr : start.data(), escape, answer) != 0)
            answer = MipAnswer{};
        else if (!answer.hasSolution())
            answer.values.clear();
        // Each call ends with GLPK's memory of this thread freed, so a pool
        // thread of the lab-file run keeps none of it; after an error it
        // is the only way back to a usable solver.
        glp_free_env();
        return answer;
    }
};

} // namespace

const MipSolver &glpkSolver()
{
    static const GlpkSolver solver;
    return solver;
}

} // namespace fertilizers
