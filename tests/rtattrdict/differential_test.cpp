// Long random operation sequences on a head with three levels of resizable windows, checked after every
// step against a plain model of the elements.
#include <random>
#include <string>
#include <vector>

#include "dict.h"

namespace {
using namespace attrtest;

struct Elem {
    std::string name;
    double value = 1.5;
    int64_t status = 7;
    IWEXWrapper *wrap = nullptr;
    std::string note = "none";
};

struct Win {
    rtattrdict_t *d;
    int parent;     // index into the window table, -1 for the head
    int32_t start;  // 1-based in the parent
    int32_t cap;    // kept equal to the size
    std::string prefix;
};

class Model {
public:
    explicit Model(uint32_t seed) : rng_(seed), head_(rtattrdict_create(20, kDesc, 1)), elems_(20) {
        rtattrdict_resize(head_, 20);
        // A over 2..9 holding X (holding a third level) and Q; a prefix-less window beside A.
        const Win plan[] = {{nullptr, -1, 2, 8, "A."}, {nullptr, -1, 12, 4, ""}, {nullptr, 0, 1, 4, "X."},
                            {nullptr, 2, 2, 2, ""}, {nullptr, 0, 6, 2, "Q."}};
        for (Win w : plan) {
            w.d = rtattrdict_create_embedded(w.parent < 0 ? head_ : wins_[w.parent].d, w.start, w.cap, w.prefix.c_str(), 1);
            rtattrdict_resize(w.d, w.cap);
            wins_.push_back(w);
        }
    }
    ~Model() {
        for (auto w = wins_.rbegin(); w != wins_.rend(); ++w) rtattrdict_destroy(w->d);
        rtattrdict_destroy(head_);
    }

    void step() {
        switch (int op = pick(0, 9)) {
            case 0: case 1: case 2: case 3: set_cell(op); break;
            case 4: name(pick(0, 2)); break;
            case 5: remove(); break;
            case 6: move(); break;
            case 7: resize_window(pick(0, 1) ? pick(1, 3) : -pick(1, 2)); break;
            case 8: delete_in_leaf(); break;
            default: rtattrdict_change_capacity(head_, rtattrdict_inq_capacity(head_) + pick(-3, 5)); break;
        }
    }

    void check() {
        const int32_t size = rtattrdict_inq_num(head_), capacity = rtattrdict_inq_capacity(head_);
        ASSERT_EQ(size, static_cast<int32_t>(elems_.size()));
        ASSERT_EQ(rtattrdict_okay(head_), 1);
        const double *v = rtattrdict_dvector_ro(head_, "VALUE");
        const int64_t *s = rtattrdict_ivector_ro(head_, "STATUS");
        const char *const *n = rtattrdict_svector_ro(head_, "NAME");
        for (int32_t k = 1; k <= capacity; ++k) {  // beyond the size: defunct
            const Elem e = k <= size ? elems_[k - 1] : Elem{};
            ASSERT_EQ(v[k - 1], e.value) << k;
            ASSERT_EQ(s[k - 1], e.status) << k;
            ASSERT_EQ(std::string(n[k - 1]), e.name) << k;
            if (k > size) continue;
            ASSERT_EQ(rtattrdict_getwrapper(head_, k, "WRAP"), e.wrap) << k;
            ASSERT_EQ(std::string(rtattrdict_gets(head_, k, "NOTE")), e.note) << k;
            if (!e.name.empty()) {
                ASSERT_EQ(rtattrdict_index(head_, e.name.c_str()), k) << e.name;
            }
        }
        for (int w = 0; w < static_cast<int>(wins_.size()); ++w) {
            const Win &win = wins_[w];
            ASSERT_EQ(rtattrdict_okay(win.d), 1) << w;
            ASSERT_EQ(rtattrdict_inq_num(win.d) * 1000 + rtattrdict_inq_capacity(win.d), win.cap * 1001) << w;
            ASSERT_EQ(start_of(win.d), win.start) << w;
            const std::string chain = prefixes(w);
            const int32_t base = abs_start(w);
            for (int32_t i = 1; i <= win.cap; ++i) {
                const std::string &full = elems_[base + i - 2].name;
                ASSERT_EQ(rtattrdict_absolute_index(win.d, i), base + i - 1);
                if (full.empty() || full.compare(0, chain.size(), chain) != 0) continue;
                const std::string seen = full.substr(chain.size());
                ASSERT_EQ(std::string(rtattrdict_name(win.d, i)), seen) << w << " " << i;
                ASSERT_EQ(rtattrdict_index(win.d, seen.c_str()), i) << w << " " << seen;
            }
        }
        for (const std::string &gone : retired_) ASSERT_EQ(rtattrdict_index(head_, gone.c_str()), 0) << gone;
        for (auto &wr : pool_) {
            int held = 0;
            for (const Elem &e : elems_) held += e.wrap == &wr;
            ASSERT_EQ(wr.refs, held);
        }
    }

    std::string history() { return his_.text(); }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    int32_t size_of(int w) const { return w < 0 ? static_cast<int32_t>(elems_.size()) : wins_[w].cap; }
    int32_t abs_start(int w) const {
        int32_t s = 1;
        for (; w >= 0; w = wins_[w].parent) s += wins_[w].start - 1;
        return s;
    }
    std::string prefixes(int w) const {
        std::string p;
        for (; w >= 0; w = wins_[w].parent) p = wins_[w].prefix + p;
        return p;
    }
    void retire(const Elem &e) {
        if (e.name.empty()) return;
        retired_.push_back(e.name);
        if (retired_.size() > 40) retired_.erase(retired_.begin());
    }
    std::string fresh() { return "N" + std::to_string(next_name_++); }

    // A random dictionary (head or window) w, a 1-based index i in it and its absolute index a.
    rtattrdict_t *target(int32_t &i, int32_t &a, int &w) {
        w = pick(-1, static_cast<int>(wins_.size()) - 1);
        i = size_of(w) > 0 ? pick(1, size_of(w)) : 1;
        a = abs_start(w) + i - 1;
        return w < 0 ? head_ : wins_[w].d;
    }

    void set_cell(int op) {
        int32_t i, a;
        int w;
        rtattrdict_t *d = target(i, a, w);
        Elem &e = elems_[a - 1];
        if (op == 0) {
            const double x = pick(0, 1000) / 8.0;
            EXPECT_EQ(rtattrdict_setd_return_modified(d, i, "VALUE", x), e.value != x ? 1 : 0);
            e.value = x;
        } else if (op == 1) {
            e.status = pick(-3, 3) * (int64_t{1} << 33) + pick(-5, 5);
            rtattrdict_seti(d, i, "STATUS", e.status);
        } else if (op == 2) {
            e.note = "n" + std::to_string(pick(0, 5));
            rtattrdict_sets(d, i, "NOTE", e.note.c_str());
        } else {
            const int k = pick(0, 3);
            e.wrap = k == 3 ? nullptr : &pool_[k];
            rtattrdict_setwrapper(d, i, "WRAP", e.wrap);
        }
    }

    // One name added, two added as fixed-width records, or a rename through the NAME attribute.
    void name(int how) {
        int32_t i, a;
        int w;
        rtattrdict_t *d = target(i, a, w);
        const std::string n1 = fresh(), n2 = fresh();
        if (how == 1) {
            if (i + 1 > size_of(w)) return;
            const std::string block = n1 + std::string(12 - n1.size(), ' ') + n2 + std::string(12 - n2.size(), ' ');
            rtattrdict_add_group(d, i, 2, 12, block.c_str());
            retire(elems_[a]);
            elems_[a].name = prefixes(w) + n2;
        } else if (how == 0) {
            add(d, i, {n1.c_str()});
        } else {
            rtattrdict_sets(d, i, "NAME", n1.c_str());
        }
        retire(elems_[a - 1]);
        elems_[a - 1].name = prefixes(w) + n1;
    }

    void remove() {
        int32_t i, a;
        int w;
        rtattrdict_t *d = target(i, a, w);
        rtattrdict_remove_items(d, i, 1);
        retire(elems_[a - 1]);
        elems_[a - 1] = Elem{};
    }

    void move() {
        const int32_t size = size_of(-1), count = pick(1, 4);
        if (count > size) return;
        const int32_t src = pick(1, size - count + 1), dst = pick(1, size - count + 1);
        rtattrdict_move_items(head_, src, dst, count);
        if (src == dst) return;
        std::vector<Elem> block(elems_.begin() + src - 1, elems_.begin() + src - 1 + count);
        for (int32_t k = dst; k < dst + count; ++k)
            if (k < src || k >= src + count) retire(elems_[k - 1]);  // overwritten
        for (int32_t k = src; k < src + count; ++k) elems_[k - 1] = Elem{};
        std::copy(block.begin(), block.end(), elems_.begin() + dst - 1);
    }

    // A change of delta elements at the end of window w, applied to the model from w up to the head.
    void splice_model(int w, int32_t delta) {
        for (int node = w; node >= 0; node = wins_[node].parent) {
            for (size_t s = 0; s < wins_.size(); ++s)
                if (static_cast<int>(s) != node && wins_[s].parent == wins_[node].parent && wins_[s].start >= wins_[node].start)
                    wins_[s].start += delta;
            wins_[node].cap += delta;
        }
    }

    // Grows (capacity first) or shrinks (size first) a window at its end; a shrink keeps child windows whole.
    void resize_window(int32_t k) {
        const int w = pick(0, static_cast<int>(wins_.size()) - 1);
        const int32_t cap = wins_[w].cap, at = abs_start(w) + cap - 1 + (k < 0 ? k : 0);
        if (cap + k < 1) return;
        for (const Win &c : wins_)
            if (k < 0 && c.parent == w && c.start + c.cap - 1 > cap + k) return;
        rtattrdict_t *d = wins_[w].d;
        if (k > 0) rtattrdict_change_capacity(d, cap + k), rtattrdict_resize(d, cap + k);
        else rtattrdict_resize(d, cap + k), rtattrdict_change_capacity(d, cap + k);
        if (k > 0) elems_.insert(elems_.begin() + at, k, Elem{});
        else elems_.erase(elems_.begin() + at, elems_.begin() + at - k);
        splice_model(w, k);
    }

    void delete_in_leaf() {
        const int w = pick(0, 1) ? 1 : 3;  // the windows without children
        const int32_t cap = wins_[w].cap;
        if (cap < 2) return;
        const int32_t count = pick(1, cap - 1), start = pick(1, cap - count + 1), at = abs_start(w) + start - 2;
        rtattrdict_delete_items(wins_[w].d, start, count);
        for (int32_t k = 0; k < count; ++k) retire(elems_[at + k]);
        elems_.erase(elems_.begin() + at, elems_.begin() + at + count);
        splice_model(w, -count);
    }

    std::mt19937 rng_;
    HistoryCapture his_;
    rtattrdict_t *head_;
    std::vector<Elem> elems_;
    std::vector<Win> wins_;
    CountingWrapper pool_[3];
    int next_name_ = 1;
    std::vector<std::string> retired_;
};

TEST(AttrDictDifferential, RandomOperationsMatchTheModel) {
    for (uint32_t run = 1; run <= 6; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        Model m(run * 7919u);
        m.check();
        for (int s = 1; s <= 1500 && !::testing::Test::HasFatalFailure(); ++s) {
            SCOPED_TRACE("step " + std::to_string(s));
            m.step();
            m.check();
        }
        if (::testing::Test::HasFatalFailure()) return;
        // The only refusals expected are head capacities below the size.
        const std::string h = m.history();
        for (size_t at = 0, end; (end = h.find('\n', at)) != std::string::npos; at = end + 1)
            EXPECT_EQ(h.compare(at, 33, "!!head_change_capacity: capacity "), 0) << h.substr(at, end - at);
    }
}

}  // namespace
