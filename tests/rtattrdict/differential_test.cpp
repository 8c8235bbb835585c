// Long random operation sequences on a head with three levels of resizable
// windows, checked after every step against a plain model of the elements.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "capture.h"
#include "fakes.h"
#include "zarnutils/rtattrdict.h"

using zarn::test::CountingWrapper;
using zarn::test::HistoryCapture;

namespace {

const rtattrdesc_t kDesc[] = {
    {"VALUE", RTATTR_DOUBLE, 2.0, 0, nullptr, 0, nullptr},
    {"STATUS", RTATTR_INTEGER, 0.0, -4, nullptr, 0, nullptr},
    {"WRAP", RTATTR_WRAPPER, 0.0, 0, nullptr, 0, nullptr},
    {"NOTE", RTATTR_SPARSE_STRING, 0.0, 0, "-", 0, nullptr},
    {nullptr, 0, 0.0, 0, nullptr, 0, nullptr},
};

struct Elem {
    std::string name;
    double value = 2.0;
    int64_t status = -4;
    IWEXWrapper *wrap = nullptr;
    std::string note = "-";
};

struct Win {
    rtattrdict_t *d;
    int parent;  // index into the window table, -1 for the head
    int32_t start;  // 1-based in the parent
    int32_t cap;    // kept equal to the size
    std::string prefix;
};

class Model {
public:
    explicit Model(uint32_t initial) : rng_(initial) {
        head_ = rtattrdict_create(20, kDesc, 1);
        rtattrdict_resize(head_, 20);
        elems_.resize(20);
        add_window(-1, 2, 8, "A.");   // 0
        add_window(-1, 12, 4, "");    // 1
        add_window(0, 1, 4, "X.");    // 2: inside A
        add_window(2, 2, 2, "");      // 3: inside A's child
        add_window(0, 6, 2, "Q.");    // 4: second child of A
    }

    ~Model() {
        for (int w = static_cast<int>(wins_.size()) - 1; w >= 0; --w) rtattrdict_destroy(wins_[w].d);
        rtattrdict_destroy(head_);
    }

    void step() {
        int op = pick(0, 12);
        switch (op) {
            case 0: set_value(); break;
            case 1: set_status(); break;
            case 2: set_wrapper(); break;
            case 3: name_one(); break;
            case 4: name_group(); break;
            case 5: rename(); break;
            case 6: remove(); break;
            case 7: move(); break;
            case 8: grow(); break;
            case 9: shrink(); break;
            case 10: delete_in_leaf(); break;
            case 11: head_capacity(); break;
            default: set_note(); break;
        }
    }

    void check(int stepno) {
        SCOPED_TRACE("step " + std::to_string(stepno));
        ASSERT_EQ(rtattrdict_inq_num(head_), static_cast<int32_t>(elems_.size()));
        ASSERT_EQ(rtattrdict_okay(head_), 1);
        const double *v = rtattrdict_dvector_ro(head_, "VALUE");
        const int64_t *s = rtattrdict_ivector_ro(head_, "STATUS");
        const char *const *n = rtattrdict_svector_ro(head_, "NAME");
        int32_t size = rtattrdict_inq_num(head_), capacity = rtattrdict_inq_capacity(head_);
        for (int32_t k = 1; k <= size; ++k) {
            const Elem &e = elems_[k - 1];
            ASSERT_EQ(v[k - 1], e.value) << k;
            ASSERT_EQ(s[k - 1], e.status) << k;
            ASSERT_EQ(std::string(n[k - 1]), e.name) << k;
            ASSERT_EQ(rtattrdict_getwrapper(head_, k, "WRAP"), e.wrap) << k;
            ASSERT_EQ(std::string(rtattrdict_gets(head_, k, "NOTE")), e.note) << k;
            if (!e.name.empty()) {
                ASSERT_EQ(rtattrdict_index(head_, e.name.c_str()), k) << e.name;
            }
        }
        for (int32_t k = size + 1; k <= capacity; ++k) {  // beyond the size: defunct
            ASSERT_EQ(v[k - 1], 2.0) << k;
            ASSERT_EQ(s[k - 1], -4) << k;
            ASSERT_STREQ(n[k - 1], "") << k;
        }
        for (size_t w = 0; w < wins_.size(); ++w) {
            const Win &win = wins_[w];
            ASSERT_EQ(rtattrdict_okay(win.d), 1) << w;
            ASSERT_EQ(rtattrdict_inq_num(win.d), win.cap) << w;
            ASSERT_EQ(rtattrdict_inq_capacity(win.d), win.cap) << w;
            ASSERT_EQ(reinterpret_cast<rtattrdict_embedded_t *>(win.d)->start, win.start) << w;
            std::string chain = prefixes(static_cast<int>(w));
            int32_t base = abs_start(static_cast<int>(w));
            for (int32_t i = 1; i <= win.cap; ++i) {
                const std::string &full = elems_[base + i - 2].name;
                ASSERT_EQ(rtattrdict_absolute_index(win.d, i), base + i - 1);
                if (full.empty() || full.compare(0, chain.size(), chain) != 0) continue;
                std::string seen = full.substr(chain.size());
                ASSERT_EQ(std::string(rtattrdict_name(win.d, i)), seen) << w << " " << i;
                ASSERT_EQ(rtattrdict_index(win.d, seen.c_str()), i) << w << " " << seen;
            }
        }
        // Names that left the model must be gone from the index too.
        for (const std::string &gone : retired_) ASSERT_EQ(rtattrdict_index(head_, gone.c_str()), 0) << gone;
        for (auto &wr : pool_) {
            int held = 0;
            for (const Elem &e : elems_) held += e.wrap == &wr;
            ASSERT_EQ(wr.refs, held);
        }
    }

    std::string history() { return his_.text(); }

private:
    void add_window(int parent, int32_t start, int32_t cap, const char *prefix) {
        rtattrdict_t *p = parent < 0 ? head_ : wins_[parent].d;
        rtattrdict_t *d = rtattrdict_create_embedded(p, start, cap, prefix, 1);
        rtattrdict_resize(d, cap);
        wins_.push_back({d, parent, start, cap, prefix});
    }

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

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

    // A random dictionary (head or window) and a 1-based index in it, with its absolute index.
    rtattrdict_t *target(int32_t *i, int32_t *abs, int *which) {
        int w = pick(-1, static_cast<int>(wins_.size()) - 1);
        *which = w;
        int32_t size = w < 0 ? static_cast<int32_t>(elems_.size()) : wins_[w].cap;
        *i = size > 0 ? pick(1, size) : 1;
        *abs = (w < 0 ? 1 : abs_start(w)) + *i - 1;
        return w < 0 ? head_ : wins_[w].d;
    }

    void set_value() {
        int32_t i, a;
        int w;
        rtattrdict_t *d = target(&i, &a, &w);
        double x = pick(0, 1000) / 8.0;
        int changed = rtattrdict_setd_return_modified(d, i, "VALUE", x);
        EXPECT_EQ(changed, elems_[a - 1].value != x ? 1 : 0);
        elems_[a - 1].value = x;
    }

    void set_status() {
        int32_t i, a;
        int w;
        rtattrdict_t *d = target(&i, &a, &w);
        int64_t x = pick(-3, 3) * (int64_t{1} << 33) + pick(-5, 5);
        rtattrdict_seti(d, i, "STATUS", x);
        elems_[a - 1].status = x;
    }

    void set_note() {
        int32_t i, a;
        int w;
        rtattrdict_t *d = target(&i, &a, &w);
        std::string t = "n" + std::to_string(pick(0, 5));
        rtattrdict_sets(d, i, "NOTE", t.c_str());
        elems_[a - 1].note = t;
    }

    void set_wrapper() {
        int32_t i, a;
        int w;
        rtattrdict_t *d = target(&i, &a, &w);
        int k = pick(0, 3);
        IWEXWrapper *x = k == 3 ? nullptr : &pool_[k];
        rtattrdict_setwrapper(d, i, "WRAP", x);
        elems_[a - 1].wrap = x;
    }

    std::string fresh() { return "N" + std::to_string(next_name_++); }

    // The element loses its old name, then takes the new one.
    void give_name(int32_t a, const std::string &full) {
        retire(elems_[a - 1]);
        elems_[a - 1].name = full;
    }

    void retire(const Elem &e) {
        if (e.name.empty()) return;
        retired_.push_back(e.name);
        if (retired_.size() > 40) retired_.erase(retired_.begin());
    }

    void name_one() {
        int32_t i, a;
        int w;
        rtattrdict_t *d = target(&i, &a, &w);
        std::string nm = fresh();
        const char *names[] = {nm.c_str()};
        rtattrdict_add_items(d, i, 1, names);
        give_name(a, prefixes(w) + nm);
    }

    void name_group() {
        int32_t i, a;
        int w;
        rtattrdict_t *d = target(&i, &a, &w);
        int32_t size = w < 0 ? static_cast<int32_t>(elems_.size()) : wins_[w].cap;
        if (i + 1 > size) return;
        std::string n1 = fresh(), n2 = fresh();
        std::string block = n1 + std::string(12 - n1.size(), ' ') + n2 + std::string(12 - n2.size(), ' ');
        rtattrdict_add_group(d, i, 2, 12, block.c_str());
        give_name(a, prefixes(w) + n1);
        give_name(a + 1, prefixes(w) + n2);
    }

    void rename() {
        int32_t i, a;
        int w;
        rtattrdict_t *d = target(&i, &a, &w);
        std::string nm = fresh();
        rtattrdict_sets(d, i, "NAME", nm.c_str());
        give_name(a, prefixes(w) + nm);
    }

    void remove() {
        int32_t i, a;
        int w;
        rtattrdict_t *d = target(&i, &a, &w);
        rtattrdict_remove_items(d, i, 1);
        retire(elems_[a - 1]);
        elems_[a - 1] = Elem{};
    }

    void move() {
        int32_t size = static_cast<int32_t>(elems_.size());
        int32_t count = pick(1, 4);
        if (count > size) return;
        int32_t src = pick(1, size - count + 1), dst = pick(1, size - count + 1);
        rtattrdict_move_items(head_, src, dst, count);
        if (src == dst) return;
        std::vector<Elem> block(elems_.begin() + src - 1, elems_.begin() + src - 1 + count);
        for (int32_t k = dst; k < dst + count; ++k)
            if (k < src || k >= src + count) retire(elems_[k - 1]);  // overwritten
        for (int32_t k = src; k < src + count; ++k) elems_[k - 1] = Elem{};
        for (int32_t k = 0; k < count; ++k) elems_[dst - 1 + k] = block[k];
    }

    // Applies a change of delta elements at the end of window w to the model.
    void splice_model(int w, int32_t delta) {
        for (int node = w; node >= 0; node = wins_[node].parent) {
            for (size_t s = 0; s < wins_.size(); ++s)
                if (static_cast<int>(s) != node && wins_[s].parent == wins_[node].parent && wins_[s].start >= wins_[node].start)
                    wins_[s].start += delta;
            wins_[node].cap += delta;
        }
    }

    void grow() {
        int w = pick(0, static_cast<int>(wins_.size()) - 1);
        int32_t k = pick(1, 3);
        int32_t at = abs_start(w) + wins_[w].cap - 1;  // 0-based insertion point
        rtattrdict_change_capacity(wins_[w].d, wins_[w].cap + k);
        rtattrdict_resize(wins_[w].d, wins_[w].cap + k);
        elems_.insert(elems_.begin() + at, k, Elem{});
        splice_model(w, k);
    }

    // Window w's last k elements hold no child window.
    bool tail_free(int w, int32_t k) const {
        for (size_t c = 0; c < wins_.size(); ++c)
            if (wins_[c].parent == w && wins_[c].start + wins_[c].cap - 1 > wins_[w].cap - k) return false;
        return true;
    }

    void shrink() {
        int w = pick(0, static_cast<int>(wins_.size()) - 1);
        int32_t k = pick(1, 2);
        if (wins_[w].cap - k < 1 || !tail_free(w, k)) return;
        int32_t at = abs_start(w) + wins_[w].cap - k - 1;
        rtattrdict_resize(wins_[w].d, wins_[w].cap - k);
        rtattrdict_change_capacity(wins_[w].d, wins_[w].cap - k);
        elems_.erase(elems_.begin() + at, elems_.begin() + at + k);
        splice_model(w, -k);
    }

    void delete_in_leaf() {
        int w = pick(0, 1) ? 1 : 3;  // the windows without children
        int32_t cap = wins_[w].cap;
        if (cap < 2) return;
        int32_t count = pick(1, cap - 1);
        int32_t start = pick(1, cap - count + 1);
        rtattrdict_delete_items(wins_[w].d, start, count);
        int32_t at = abs_start(w) + start - 2;
        for (int32_t k = 0; k < count; ++k) retire(elems_[at + k]);
        elems_.erase(elems_.begin() + at, elems_.begin() + at + count);
        splice_model(w, -count);
    }

    void head_capacity() {
        int32_t cap = rtattrdict_inq_capacity(head_);
        rtattrdict_change_capacity(head_, cap + pick(0, 5) + (pick(0, 1) ? 0 : -3));
        // Below the size it is refused: the model does not change.
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
        m.check(0);
        for (int s = 1; s <= 1500; ++s) {
            m.step();
            m.check(s);
            if (::testing::Test::HasFatalFailure()) return;
        }
        std::string h = m.history();
        // Only refusals of head capacities below the size are expected.
        size_t pos = 0;
        while ((pos = h.find('\n')) != std::string::npos) {
            std::string line = h.substr(0, pos);
            h.erase(0, pos + 1);
            EXPECT_EQ(line.rfind("!!head_change_capacity: capacity ", 0), 0u) << line;
        }
    }
}

}  // namespace
