// The VARFILE writer: column widths, sections of the page width, and the
// header line and records of each section.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "attrcat/attrcat.h"
#include "platform/xalloc.h"
#include "rtopipe/report.h"
#include "rtvarlst/rtvarlst_scale.h"
#include "varfile/varfile_internal.h"
#include "varfile/varfile_messages.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/varattrnames.hpp"
#include "zarnutils/varutl.h"

namespace zarn::varfile {

namespace {

using A = RTVarDatabase;

namespace ac = zarn::attrcat;

constexpr int kAttributeCount = ZARN_VARFILE_ATTRIBUTE_COUNT;
constexpr int kWidthMax = INT16_MAX;

int16_t clamp_width(int w) { return static_cast<int16_t>(std::clamp(w, 0, kWidthMax)); }

// One column of a section: its attribute, width and start in the header line.
struct Column {
    int attribute;
    int width;
    int64_t start;
};

// Writes a name, quoted when it needs it; returns its printed length.
size_t put_name(Sink &out, const char *name) {
    const size_t n = std::strlen(name);
    const bool quote = RTVarFileIO::SpecialChars(name) != 0;
    if (quote) out.put('\'');
    out.put(name, n);
    if (quote) out.put('\'');
    return n + (quote ? 2 : 0);
}

void put_header(Sink &out, int name_width, const Column *cols, int count) {
    out.put("NAME", 4);
    if (name_width > 4) out.blanks(static_cast<size_t>(name_width - 4));
    for (int k = 0; k < count; ++k) {
        const char *word = RTVarAttributeNames::Name(cols[k].attribute);
        const size_t n = std::strlen(word);
        out.put(',');
        out.put(word, n);
        if (n < static_cast<size_t>(cols[k].width)) out.blanks(static_cast<size_t>(cols[k].width) - n);
    }
    out.put('\n');
}

// Each attribute is asked once whether it is missing (absent has room for
// count flags): the trailing ones end the record early, the others leave
// blank fields.
void put_record(Sink &out, Record &r, int name_width, const Column *cols, int count, bool *absent) {
    int last = 0;
    for (int k = 0; k < count; ++k) {
        absent[k] = missing(r, cols[k].attribute);
        if (!absent[k]) last = k + 1;
    }
    count = last;
    const size_t printed = put_name(out, r.info.name);
    bool overflow = printed > static_cast<size_t>(name_width);
    if (!overflow && count > 0) out.blanks(static_cast<size_t>(name_width) - printed);
    for (int k = 0; k < count; ++k) {
        out.put(',');
        if (overflow) {
            overflow = false;
            out.put('\n');
            out.blanks(static_cast<size_t>(cols[k].start));
        }
        if (absent[k])
            out.blanks(static_cast<size_t>(cols[k].width));
        else
            overflow = put_field(out, r, cols[k].attribute, cols[k].width);
    }
    out.put('\n');
}

}  // namespace

void Sink::put_flushing(const char *bytes, size_t n) {
    while (n > 0) {
        if (used_ == kSize) flush();
        const size_t take = std::min(n, kSize - used_);
        std::memcpy(buf_ + used_, bytes, take);
        used_ += take;
        bytes += take;
        n -= take;
    }
}

void Sink::blanks_flushing(size_t n) {
    while (n > 0) {
        if (used_ == kSize) flush();
        const size_t take = std::min(n, kSize - used_);
        std::memset(buf_ + used_, ' ', take);
        used_ += take;
        n -= take;
    }
}

bool Sink::flush() {
    if (!failed_ && used_ > 0 && rtowrite(pipe_, buf_, used_) != 1) {
        failed_ = true;
        zarn::rtopipe::report(msg::kWriteFailed, rtodesc(pipe_) != nullptr ? rtodesc(pipe_) : "the pipe");
    }
    used_ = 0;
    return !failed_;
}

}  // namespace zarn::varfile

namespace vf = zarn::varfile;

RTVarFileOut::RTVarFileOut(rtopipe *pipe, rtvarlst_t *list, int nameWidth, int realWidth, int pageWidth,
                           int uomWidth)
    : RTVarFileIO(list, WARNINGS), widths_{}, pipe_(pipe), pageWidth_(pageWidth) {
    gl_list_t *mask = vf::write_mask();
    gl_list_t *copy = mask != nullptr ? gl_copy(mask, gl_samedata) : nullptr;
    if (copy != nullptr) {
        gl_destroylist(attributes_);
        attributes_ = copy;
    } else {
        zarn::rtopipe::report(vf::msg::kNoMemory, "RTVarFileOut");
    }
    const int16_t name = vf::clamp_width(nameWidth), real = vf::clamp_width(realWidth);
    const int16_t uom = vf::clamp_width(uomWidth);
    for (int a = 0; a < vf::kAttributeCount; ++a) {
        switch (vf::ac::kVarfile[a].width) {
            case vf::ac::Width::Name:
                widths_[a] = name;
                break;
            case vf::ac::Width::Uom:
                widths_[a] = uom;
                break;
            case vf::ac::Width::Real:
                widths_[a] = real;
                break;
            case vf::ac::Width::RealAtLeast8:
                widths_[a] = std::max<int16_t>(real, 8);
                break;
            case vf::ac::Width::Fixed:
                widths_[a] = vf::ac::kVarfile[a].fixed_width;
                break;
        }
    }
    // The page must hold the name and a unit, then the name and a real value.
    if (pageWidth_ <= name + 12) {
        pageWidth_ = name + 12;
        zarn::rtopipe::report(vf::msg::kWidenForUom, pageWidth_);
    }
    if (pageWidth_ <= name + real + 1) {
        pageWidth_ = name + real + 1;
        zarn::rtopipe::report(vf::msg::kWidenForReal, pageWidth_);
    }
}

RTVarFileOut::~RTVarFileOut() {
    if (pipe_ != nullptr) rtodestroy(pipe_);
}

int RTVarFileOut::SupportedAttribute(VarAttribute a) const { return a >= 0 && a < vf::kAttributeCount; }

void RTVarFileOut::Reset() {
    RTVarFileIO::Reset();
    for (int a = 0; a <= vf::kAttributeCount; ++a)
        if (SupportedAttribute(static_cast<VarAttribute>(a))) AddAttribute(static_cast<VarAttribute>(a));
}

void RTVarFileOut::Go() {
    if (pipe_ == nullptr) {
        zarn::rtopipe::report(vf::msg::kNoPipe);
        return;
    }
    if (list_ == nullptr) {
        zarn::rtopipe::report(vf::msg::kNoList);
        return;
    }
    // The columns, every NAME left out, and what the records must hold for them.
    const uint32_t listed = gl_length(attributes_);
    if (listed == 0) return;
    auto *cols = static_cast<vf::Column *>(zarn::xmalloc(listed * (sizeof(vf::Column) + sizeof(bool))));
    if (cols == nullptr) {
        zarn::rtopipe::report(vf::msg::kNoMemory, "RTVarFileOut::Go");
        return;
    }
    bool *absent = reinterpret_cast<bool *>(cols + listed);
    int n = 0;
    rtvarmask_t fetch = {RTVARINFO_NAME, 0};
    for (const gl_node_t *node = attributes_->head; node != nullptr; node = node->next) {
        const int a = static_cast<int>(reinterpret_cast<intptr_t>(node->data));
        if (a == NAME || a < 0 || a >= vf::kAttributeCount) continue;
        cols[n++] = vf::Column{a, widths_[a], 0};
        vf::add_fetch(&fetch, a);
    }
    const int old_level = rtosetflushlevel(pipe_, RTOPIPE_FLUSH_NEVER);
    vf::Sink out(pipe_);
    auto *r = static_cast<vf::Record *>(zarn::xmalloc(sizeof(vf::Record)));
    if (r == nullptr)
        zarn::rtopipe::report(vf::msg::kNoMemory, "RTVarFileOut::Go");
    else
        std::memset(static_cast<void *>(r), 0, sizeof *r);  // fields left out of the fetch stay 0
    const int name_width = widths_[NAME];
    const int nvar = rtovarlst_inq_nvar(list_);
    for (int s = 0; r != nullptr && s < n && !out.failed() && !rtosignal_ctrlc_pressed();) {
        // The section: the columns from s that fit the page, at least one.
        int64_t used = name_width;
        int e = s;
        for (; e < n && used + cols[e].width + 1 <= pageWidth_; ++e) {
            cols[e].start = used + 1;
            used += cols[e].width + 1;
        }
        if (e == s) cols[e++].start = name_width + 1;
        // A section reads what its own columns need, and the units and type
        // whenever the run's mask holds them, so that every section converts
        // with the same units.
        rtvarmask_t section = {RTVARINFO_NAME | RTVARINFO_BASEUOM | (fetch.mask1 & RTVARINFO_STATUS),
                               fetch.mask2 & (0u - static_cast<uint32_t>(RTVARINFO_UOM))};
        for (int k = s; k < e; ++k) vf::add_needs(&section, cols[k].attribute);
        if (s > 0) out.put("\nNEW SECTION\n", 13);
        vf::put_header(out, name_width, cols + s, e - s);
        for (int i = 1; i <= nvar && !out.failed() && !rtosignal_ctrlc_pressed(); ++i) {
            if (!IncludeVar(i)) continue;
            r->info.mask = section;
            rtovarlst_inq_var(list_, i, &r->info, 0);
            r->list = list_;
            r->index = i;
            r->scale = zarn::rtvarlst::effective_scale(r->info.intscale);
            r->ptype = rtvarinfo_mask_has(&fetch, RTVARINFO_STATUS) ? varInqPhysicalType(r->info.status) : 0;
            r->uom = rtvarinfo_mask_has(&fetch, RTVARINFO_UOM) ? static_cast<int32_t>(r->info.uom) : 0;
            r->baseuom =
                rtvarinfo_mask_has(&fetch, RTVARINFO_BASEUOM) ? static_cast<int32_t>(r->info.baseuom) : 0;
            vf::put_record(out, *r, name_width, cols + s, e - s, absent);
        }
        s = e;
    }
    out.flush();
    std::free(r);
    std::free(cols);
    rtosetflushlevel(pipe_, old_level);
}
