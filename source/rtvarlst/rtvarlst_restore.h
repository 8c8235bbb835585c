// For readers of saved files that bring back a whole variable at a time: the
// item a saved name stands for, confirmed at a guessed index without a
// lookup where the list can; and several attributes of one variable written
// in one call when nobody hears a change of it. Each value has the effect
// its attribute's own writer has; the writers' change notifications are left
// out, since they would reach nobody. For writers of saved files, the
// reverse: every saved attribute of one variable read in one call.
#ifndef ZARN_RTVARLST_RTVARLST_RESTORE_H
#define ZARN_RTVARLST_RTVARLST_RESTORE_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "zarnutils/rtvarlst.h"

namespace zarn::rtvarlst {

// The attribute a value goes to, named after the writer whose effect it has.
enum class Quiet : uint8_t {
    kSpec,          // rtovarlst_set_spec_value
    kBaseUom,       // rtovarlst_set_var_baseuom
    kQuality,       // rtovarlst_set_var_quality
    kModifiedMask,  // rtovarlst_set_var_modified_mask: positive to mask 1, negative to mask 2
    kUom,           // rtovarlst_set_var_uom
    kPhysicalType,  // rtovarlst_set_physical_type
    kConnType,      // rtovarlst_set_var_conn_type
    kBoundType,     // the bound-type field of the status word (varSetBoundType)
    kParamHomo,     // rtovarlst_set_var_param_homo
    kRamped,        // rtovarlst_set_var_ramped
    kLower,         // rtovarlst_set_var_lower, not in SI
    kValue,         // rtovarlst_set_var_value, not in SI
    kUpper,         // rtovarlst_set_var_upper, not in SI
    kStep,          // rtovarlst_set_var_step_inbaseuom
    kInitial,       // rtovarlst_set_var_initial, not in SI
    kSbWeight,      // rtovarlst_set_var_sbweight
    kTargetHomo,    // rtovarlst_set_var_target_homo, not in SI
    kThreshold,     // rtovarlst_set_var_threshold, not in SI
};

inline constexpr int kQuietCount = static_cast<int>(Quiet::kThreshold) + 1;
inline constexpr uint32_t bit(Quiet q) { return 1u << static_cast<int>(q); }

// The real held in two 32-bit words of a saved file, the low word first.
inline double real_in_words(const int32_t *w) {
    const uint64_t bits = static_cast<uint64_t>(static_cast<uint32_t>(w[0])) |
                          (static_cast<uint64_t>(static_cast<uint32_t>(w[1])) << 32);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

// One variable's attributes as a reader brings them back, read where they
// lie among the reader's 32-bit words: those whose bit is set in `given`,
// an integer as one word, a real as two (the low word first). The offsets
// are fixed once for a run of variables; only `words` moves.
struct Restored {
    uint32_t given = 0;
    // Reals given as the quantity: held divided by the internal scale (1e35 as it is).
    uint32_t per_scale = 0;
    bool second_given = false;         // a second modified-mask word follows the first
    int16_t offset[kQuietCount] = {};  // by Quiet; the first mask word at kModifiedMask
    int16_t second_offset = 0;
    const int32_t *words = nullptr;
    int32_t code(Quiet q) const { return words[offset[static_cast<int>(q)]]; }
    int32_t second_mask() const { return words[second_offset]; }
    double real(Quiet q) const { return real_in_words(words + offset[static_cast<int>(q)]); }
};

// What rtovarlst__varname2index(list, name) gives; the name has len bytes
// (no NUL among them) and a NUL after them. Item guess is tried first: where
// the list has no aliases and its dictionary confirms that the name finds
// the guess, no lookup is made.
int32_t name_index(rtvarlst_t *list, const char *name, std::size_t len, int32_t guess);

// Writes the given attributes into item i, each with its writer's effect,
// when the item lies in the list's columns and a change of it reaches
// nobody: it has no block object and no callback listens to the change
// event. False, with nothing written, when somebody would hear, or when a
// value needs its writer's own path (a code its writer reports as out of
// range, a sparse or modification record the item does not have yet): the
// caller then uses the writers.
bool store_unheard(rtvarlst_t *list, int32_t i, const Restored &r);

// One variable's saved attributes, each what its own reader gives (none in
// SI): the status word whole, the step in the base unit, SCALE as held and
// the internal scale the rule makes of it.
struct Saved {
    int64_t status = 0;
    int32_t baseuom = 0, uom = 0, quality = 0, conn_type = 0, param_homo = 0, ramped = 0;
    uint32_t mask1 = 0, mask2 = 0;  // of the modification record; 0 without one
    double scale = 0.0, lower = 0.0, value = 0.0, upper = 0.0, step = 0.0, initial = 0.0;
    double sbweight = 0.0, target_homo = 0.0, threshold = 0.0;
    double effective_scale = 1.0;
};

// Item i's saved attributes (i within 1..nvar), its cells and its sparse
// record found once. An item of a window beyond the cells its head still has
// reads as zeros with an internal scale of 1, as the single readers give it.
void load_saved(rtvarlst_t *list, int32_t i, Saved *out);

}  // namespace zarn::rtvarlst

#endif
