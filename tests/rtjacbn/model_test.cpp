// Random operation sequences on a Jacobian and a Hessian alike (a head,
// a chain of windows three levels deep and a sibling), each step checked
// against a plain model: one cell per head nonzero, and each window's offsets.
// A Hessian window's second variable offset is never below its variable
// offset, so that both stores refuse the same calls.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "capture.h"
#include "zarnutils/rthessbn.h"
#include "zarnutils/rtjacbn.h"

namespace {

using zarn::test::HistoryCapture;

struct Cell {
    int64_t eqn = 0;
    int64_t var = 0;
    int64_t var2 = 0;
    double value = 1e35;
    int linear = 0;
};

// Fields side by side, for comparisons that print them when they differ.
template <class... T>
std::vector<double> fields(T... f) {
    return {static_cast<double>(f)...};
}

// Level 0 is the head; a window's offsets are those in its parent.
struct Level {
    rt_jac_t *jac;
    rt_hess_t *hess;
    int parent;
    int64_t nz, eqn, var, var2;
    int32_t nnz, cap;
};

constexpr int64_t kNoLimit = int64_t{1} << 50;

bool run_within(int64_t first, int64_t count, int64_t n) {
    return count >= 0 && first >= 1 && first + count - 1 <= n;
}

class Model {
  public:
    explicit Model(uint32_t seed) : rng_(seed) {
        levels_.push_back({rtojac_create(80), rtohess_create(80), -1, 0, 0, 0, 0, 0, 80});
        cells_.resize(80);
        set_nnz(0, 70);
        add(0, 40, 11, 3, 7, 12);
        add(1, 20, 6, 5, 2, 9);
        add(2, 8, 3, 1, 4, 6);
        add(0, 10, 55, 50, 100, 130);
        his_.text();
    }
    ~Model() {
        for (int l = 4; l >= 0; --l) {
            rtojac_destroy(&levels_[l].jac);
            rtohess_destroy(&levels_[l].hess);
        }
    }

    std::string step() {
        refused_ = false;
        const int l = pick(0, 4);
        Level &lv = levels_[l];
        std::string what = "level " + std::to_string(l) + ": ";
        switch (pick(0, 9)) {
            case 0:
            case 1:
                what += set(l, pick(0, lv.nnz + 1));
                break;
            case 2:
                what += set_nnz(l, pick(std::max(-1, lv.nnz - 3), lv.cap + 1));
                break;
            case 3:
                what += move(l, pick(0, lv.nnz + 1), pick(0, lv.nnz + 1), pick(-1, 4));
                break;
            case 4:
                what +=
                    relocate(l, pick(0, l > 0 ? levels_[lv.parent].nnz + 1 : 3), pick(-3, 3), pick(-3, 3));
                break;
            case 5:
                what += resize(l, pick(lv.cap - (l == 0 ? 4 : 2), lv.cap + 6));
                break;
            case 6:
                what += renumber(l, pick(0, lv.nnz + 1), pick(0, lv.nnz + 1), pick(-2, 30), pick(-2, 2));
                break;
            case 7:
                what += bulk(l, pick(0, 2));
                break;
            case 8:
                what +=
                    renumber_range(l, pick(0, lv.nnz + 1), pick(0, lv.nnz + 1), pick(-2, 30), pick(-2, 2));
                break;
            case 9:
                what += l == 3 || l == 4 ? replace(l) : "-";
                break;
        }
        EXPECT_EQ(his_.text().empty(), !refused_) << what;
        return what;
    }

    void check() {
        const auto *jh = reinterpret_cast<const rt_jac_head_t *>(levels_[0].jac);
        const auto *hh = reinterpret_cast<const rt_hess_head_t *>(levels_[0].hess);
        for (int l = 0; l < 5; ++l) {
            const Level &w = levels_[l];
            const std::vector<double> shape = fields(w.nnz, w.cap);
            ASSERT_EQ(fields(rtojac_inq_nnz(w.jac), rtojac_inq_capacity(w.jac)), shape) << l;
            ASSERT_EQ(fields(rtohess_inq_nnz(w.hess), rtohess_inq_capacity(w.hess)), shape) << l;
        }
        for (int32_t g = 1; g <= levels_[0].cap; ++g) {
            const Cell &c = cells_[g - 1];
            ASSERT_EQ(fields(jh->irn[g - 1], jh->icn[g - 1], jh->values[g - 1], jh->linear[g - 1]),
                      fields(c.eqn, c.var, c.value, c.linear))
                << "Jacobian head nonzero " << g;
            ASSERT_EQ(fields(hh->irn[g - 1], hh->icn[g - 1], hh->icn2[g - 1], hh->values[g - 1]),
                      fields(c.eqn, c.var, c.var2, c.value))
                << "Hessian head nonzero " << g;
        }
        for (int l = 1; l < 5; ++l) {
            const Level &w = levels_[l];
            const int64_t eqn = total(l, &Level::eqn), var = total(l, &Level::var),
                          var2 = total(l, &Level::var2);
            ASSERT_EQ(fields(rtojac_rowoffset(w.jac), rtojac_coloffset(w.jac), rtohess_rowoffset(w.hess),
                             rtohess_coloffset(w.hess), rtohess_col2offset(w.hess)),
                      fields(eqn, var, eqn, var, var2))
                << l;
            for (int32_t k = 1; k <= w.nnz; ++k) {
                int64_t g = k;
                if (!reach(l, g)) break;
                const Cell &c = cells_[g - 1];
                double value = 0.0;
                rtojac_inq_nz_value(w.jac, k, &value);
                const int32_t eqn_read = rtojac_inq_nz_eqnnum(w.jac, k),
                              var_read = rtojac_inq_nz_varnum(w.jac, k);
                ASSERT_EQ(fields(eqn_read, var_read, value, rtojac_inq_linear(w.jac, k)),
                          fields(c.eqn - eqn, c.var - var, c.value, c.linear))
                    << "Jacobian window " << l << " nonzero " << k;
            }
        }
        ASSERT_EQ(his_.text(), "") << "reading within every level prints nothing";
    }

  private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    void add(int parent, int32_t cap, int32_t z, int32_t e, int32_t v, int32_t v2) {
        const Level &p = levels_[parent];
        levels_.push_back({rtojac_create_embedded(cap, p.jac, v, e, z),
                           rtohess_create_embedded(cap, p.hess, v, v2, e, z), parent, z - 1, e - 1, v - 1,
                           v2 - 1, 0, cap});
        set_nnz(static_cast<int>(levels_.size()) - 1, cap);
    }

    int64_t total(int l, int64_t Level::*offset) const {
        return l == 0 ? 0 : levels_[l].*offset + total(levels_[l].parent, offset);
    }

    // Index k of level l in the head, or false when a level refuses it.
    bool reach(int l, int64_t &k) const {
        for (;; l = levels_[l].parent) {
            if (k < 1 || k > levels_[l].nnz) return false;
            if (l == 0) return true;
            k += levels_[l].nz;
        }
    }

    void reset(int l, int64_t first, int64_t last) {
        const int64_t shift = total(l, &Level::nz);
        for (int64_t g = std::max<int64_t>(first + shift, 1);
             g <= std::min<int64_t>(last + shift, levels_[0].cap); ++g)
            cells_[g - 1] = Cell{};
    }

    // By both numbers at once or one by one.
    std::string set(int l, int32_t k) {
        const Level &w = levels_[l];
        const int32_t e = pick(-2, 30), v = pick(-2, 30), v2 = pick(-2, 30), linear = pick(0, 1);
        const double x = pick(0, 99) / 4.0;
        if (pick(0, 1) == 1) {
            rtojac_set_nz_coord(w.jac, k, e, v);
            rtohess_set_nz_coord(w.hess, k, e, v, v2);
        } else {
            rtojac_set_nz_eqnnum(w.jac, k, e);
            rtojac_set_nz_varnum(w.jac, k, v);
            rtohess_set_nz_eqnnum(w.hess, k, e);
            rtohess_set_nz_varnum(w.hess, k, v);
            rtohess_set_nz_varnum2(w.hess, k, v2);
        }
        rtojac_set_nz_value(w.jac, k, x);
        rtohess_set_nz_value(w.hess, k, x);
        rtojac_set_linear(w.jac, k, static_cast<unsigned char>(linear));
        int64_t g = k;
        if (reach(l, g))
            cells_[g - 1] = {e + total(l, &Level::eqn), v + total(l, &Level::var),
                             v2 + total(l, &Level::var2), x, linear};
        else
            refused_ = true;
        return "set " + std::to_string(k);
    }

    std::string set_nnz(int l, int32_t n) {
        rtojac_set_nnz(levels_[l].jac, n);
        rtohess_set_nnz(levels_[l].hess, n);
        Level &lv = levels_[l];
        if (n < 0 || n > lv.cap) {
            refused_ = n != lv.nnz;
        } else {
            if (n < lv.nnz) reset(l, n + 1, lv.nnz);
            lv.nnz = n;
        }
        return "set_nnz " + std::to_string(n);
    }

    // The checks of every level on the way up, then the move at the head.
    bool model_move(int l, int64_t src, int64_t dst, int64_t count) {
        for (;; l = levels_[l].parent) {
            if (src == dst || (l == 0 && count == 0)) return true;
            if (count < 0 || !run_within(src, count, levels_[l].nnz) ||
                !run_within(dst, count, levels_[l].nnz))
                return false;
            if (l == 0) break;
            src += levels_[l].nz;
            dst += levels_[l].nz;
        }
        const std::vector<Cell> block(cells_.begin() + src - 1, cells_.begin() + src - 1 + count);
        for (int64_t k = 0; k < count; ++k) cells_[src - 1 + k] = {0, 0, 0, 0.0, 0};
        for (int64_t k = 0; k < count; ++k) cells_[dst - 1 + k] = block[k];
        return true;
    }

    std::string move(int l, int32_t src, int32_t dst, int32_t count) {
        rtojac_move_items(levels_[l].jac, src, dst, count);
        rtohess_move_items(levels_[l].hess, src, dst, count);
        refused_ = !model_move(l, src, dst, count);
        return "move " + std::to_string(src) + " " + std::to_string(dst) + " " + std::to_string(count);
    }

    std::string relocate(int l, int32_t z, int32_t dv, int32_t de) {
        rtojac_relocate(levels_[l].jac, z, dv, de);
        rtohess_relocate(levels_[l].hess, z, dv, de);
        Level &w = levels_[l];
        if (l == 0 || z < 1 || w.var + dv < 0 || w.eqn + de < 0 || z + w.nnz - 1 > levels_[w.parent].nnz ||
            (w.nnz > 0 && !model_move(w.parent, w.nz + 1, z, w.nnz))) {
            refused_ = true;
        } else {
            w.nz = z - 1;
            w.var += dv;
            w.var2 += dv;
            w.eqn += de;
        }
        return "relocate " + std::to_string(z) + " " + std::to_string(dv) + " " + std::to_string(de);
    }

    std::string resize(int l, int32_t c) {
        rtojac_resize(levels_[l].jac, c);
        rtohess_resize(levels_[l].hess, c);
        Level &lv = levels_[l];
        if (c < 0 || (l > 0 && c + lv.nz > levels_[lv.parent].nnz)) {
            refused_ = l > 0 || c != lv.cap;
        } else {
            if (l == 0) cells_.resize(c);
            if (l > 0 && c < lv.cap) reset(l, c + 1, lv.cap);
            if (l > 0 && c > lv.cap) reset(l, lv.cap + 1, c);
            lv.cap = c;
            lv.nnz = std::min(lv.nnz, c);
        }
        return "resize " + std::to_string(c);
    }

    // Shifts the numbers within each range over nonzeros first..last of level
    // l; the variable range applies to both variables.
    void model_renumber(int l, int64_t first, int64_t last, int64_t elow, int64_t ede, int64_t vlow,
                        int64_t vhigh, int64_t vdv) {
        int64_t v2low = vlow, v2high = vhigh;
        for (;; l = levels_[l].parent) {
            if (first < 1 || last > levels_[l].nnz) {
                refused_ = true;
                return;
            }
            if (l == 0) break;
            first += levels_[l].nz;
            last += levels_[l].nz;
            elow += levels_[l].eqn;
            vlow += levels_[l].var;
            vhigh += levels_[l].var;
            v2low += levels_[l].var2;
            v2high += levels_[l].var2;
        }
        for (int64_t g = first; g <= last; ++g) {
            Cell &c = cells_[g - 1];
            if (c.eqn >= elow) c.eqn += ede;
            if (c.var >= vlow && c.var <= vhigh) c.var += vdv;
            if (c.var2 >= v2low && c.var2 <= v2high) c.var2 += vdv;
        }
    }

    std::string renumber(int l, int32_t first, int32_t last, int32_t threshold, int32_t shift) {
        const int32_t eqn_threshold = pick(-2, 30), eqn_shift = pick(-2, 2);
        rtojac_renumber(levels_[l].jac, first, last, threshold, shift, eqn_threshold, eqn_shift);
        rtohess_renumber(levels_[l].hess, first, last, threshold, shift, eqn_threshold, eqn_shift);
        if ((shift != 0 || eqn_shift != 0) && first <= last)
            model_renumber(l, first, last, eqn_threshold, eqn_shift, threshold, kNoLimit, shift);
        return "renumber " + std::to_string(first) + ".." + std::to_string(last);
    }

    std::string renumber_range(int l, int32_t first, int32_t last, int32_t low, int32_t shift) {
        const int32_t high = low + pick(-1, 6);
        rtojac_renumber_vars_in_range(levels_[l].jac, first, last, low, high, shift);
        rtohess_renumber_vars_in_range(levels_[l].hess, first, last, low, high, shift);
        if (shift != 0 && first <= last) model_renumber(l, first, last, kNoLimit, 0, low, high, shift);
        return "renumber_vars_in_range " + std::to_string(first) + ".." + std::to_string(last);
    }

    // Axis 0 the equations, 1 the variables (both stores), 2 the Hessian's second variables.
    std::string bulk(int l, int axis) {
        Level &lv = levels_[l];
        std::vector<int64_t> local(lv.nnz);
        for (int64_t &n : local) n = pick(-3, 40);
        if (axis == 0) {
            rtojac_set_rows(lv.jac, local.data());
            rtohess_set_rows(lv.hess, local.data());
        } else if (axis == 1) {
            rtojac_set_columns(lv.jac, local.data());
            rtohess_set_columns(lv.hess, local.data());
        } else {
            rtohess_set_columns2(lv.hess, local.data());
        }
        int64_t g = lv.nnz;
        if (lv.nnz > 0 && !reach(l, g)) refused_ = true;
        if (lv.nnz == 0 || refused_) return "bulk";
        int64_t Cell::*field[] = {&Cell::eqn, &Cell::var, &Cell::var2};
        int64_t Level::*offset[] = {&Level::eqn, &Level::var, &Level::var2};
        for (int32_t k = 1; k <= lv.nnz; ++k)
            cells_[g - lv.nnz + k - 1].*field[axis] = local[k - 1] + total(l, offset[axis]);
        return "bulk numbers " + std::to_string(axis);
    }

    // A leaf window destroyed and created again elsewhere in its parent.
    std::string replace(int l) {
        Level &w = levels_[l];
        const Level &p = levels_[w.parent];
        const int32_t cap = pick(0, 12), z = pick(1, p.nnz + 1), e = pick(1, 9), v = pick(1, 9);
        const int32_t v2 = v + pick(0, 9);
        rt_jac_t *jac = rtojac_create_embedded(cap, p.jac, v, e, z);
        rt_hess_t *hess = rtohess_create_embedded(cap, p.hess, v, v2, e, z);
        if (p.nnz < z + cap - 1) {
            refused_ = true;
            return "create refused";
        }
        rtojac_destroy(&w.jac);
        rtohess_destroy(&w.hess);
        w = {jac, hess, w.parent, z - 1, e - 1, v - 1, v2 - 1, 0, cap};
        reset(l, 1, cap);
        return "create " + std::to_string(cap) + " at " + std::to_string(z);
    }

    std::mt19937 rng_;
    HistoryCapture his_;
    std::vector<Level> levels_;
    std::vector<Cell> cells_;
    bool refused_ = false;
};

TEST(CoordinateModel, RandomOperationsMatchPlainTriplets) {
    for (uint32_t seed = 1; seed <= 5 && !::testing::Test::HasFatalFailure(); ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Model m(seed * 7919u);
        m.check();
        for (int s = 1; s <= 1500 && !::testing::Test::HasFatalFailure(); ++s) {
            const std::string what = m.step();
            SCOPED_TRACE("step " + std::to_string(s) + " " + what);
            m.check();
        }
    }
}

}  // namespace
