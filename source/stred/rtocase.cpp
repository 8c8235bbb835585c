// Case variants of file names and the search for a readable file along a path.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "stred/stred_internal.h"
#include "zarnutils/stred.h"

namespace msg = zarn::stred::msg;
using zarn::stred::null_arg;

struct rtocase {
    char *name;     // private copy of the file name
    char *variant;  // the text rtocase_next returned last
    int step;       // variants given since the start
    bool upperFirst;
};

namespace {

rtocase *make_iterator(const char *name, bool upperFirst) {
    std::size_t n = std::strlen(name) + 1;
    auto *it = static_cast<rtocase *>(zarn::xcalloc(1, sizeof(rtocase)));
    if (it == nullptr) return nullptr;
    it->name = static_cast<char *>(zarn::xmalloc(n));
    it->variant = static_cast<char *>(zarn::xmalloc(n));
    if (it->name == nullptr || it->variant == nullptr) {
        rtocase_destroy(it);
        return nullptr;
    }
    std::memcpy(it->name, name, n);
    it->upperFirst = upperFirst;
    return it;
}

// Regular file (not a directory) that this process may read.
bool readable(const char *path) {
    struct stat st;
    if (stat(path, &st) != 0 || S_ISDIR(st.st_mode)) return false;
    return access(path, R_OK) == 0;
}

// Tries dir + sep + name and then the same + ext; copies a hit to out.
bool try_candidate(const char *dir, std::size_t dirLen, const char *name, const char *ext, char *out) {
    const char *sep = "";
    if (dirLen > 0) {
        char last = dir[dirLen - 1];
        if (last != '/' && last != '\\' && last != ':') sep = "/";
    }
    std::size_t base = dirLen + std::strlen(sep) + std::strlen(name);
    std::size_t extLen = ext != nullptr ? std::strlen(ext) : 0;
    constexpr std::size_t kMax = zarn::stred::kMaxPart;
    if (base <= kMax) {
        std::memcpy(out, dir, dirLen);
        std::strcpy(out + dirLen, sep);
        std::strcat(out, name);
        if (readable(out)) return true;
    }
    if (extLen > 0 && base + extLen <= kMax) {
        std::memcpy(out, dir, dirLen);
        std::strcpy(out + dirLen, sep);
        std::strcat(out, name);
        std::strcat(out, ext);
        if (readable(out)) return true;
    }
    return false;
}

char *search(const char *name, const char *ext, const char *pathList, char *out) {
    if (null_arg(name, msg::kPathSearchNameIsNULL, __LINE__) ||
        null_arg(out, msg::kPathSearchOutIsNULL, __LINE__)) {
        return nullptr;
    }
    if (try_candidate("", 0, name, ext, out)) return out;
    if (pathList != nullptr) {
        for (const char *p = pathList; *p != '\0';) {
            const char *end = std::strchr(p, ';');
            std::size_t len = end != nullptr ? static_cast<std::size_t>(end - p) : std::strlen(p);
            if (len > 0 && try_candidate(p, len, name, ext, out)) return out;
            if (end == nullptr) break;
            p = end + 1;
        }
    }
    // Leave out holding the name, as the first candidate.
    std::size_t n = std::strlen(name);
    if (n > zarn::stred::kMaxPart) n = zarn::stred::kMaxPart;
    std::memcpy(out, name, n);
    out[n] = '\0';
    return nullptr;
}

}  // namespace

extern "C" ZARN_API rtocase *rtocase_existing(const char *name) {
    if (null_arg(name, msg::kRtocaseExistingNameIsNULL, __LINE__)) return nullptr;
    return make_iterator(name, true);
}

extern "C" ZARN_API rtocase *rtocase_newfile(const char *name) {
    if (null_arg(name, msg::kRtocaseNewfileNameIsNULL, __LINE__)) return nullptr;
    return make_iterator(name, false);
}

extern "C" ZARN_API const char *rtocase_next(rtocase *it) {
    if (null_arg(it, msg::kRtocaseNextIteratorIsNULL, __LINE__)) return nullptr;
    if (it->step >= 2) return nullptr;
    bool upper = (it->step == 0) == it->upperFirst;
    ++it->step;
    std::strcpy(it->variant, it->name);
    if (upper) {
        stred_upper_case(it->variant);
    } else {
        stred_lower_case(it->variant);
    }
    return it->variant;
}

extern "C" ZARN_API void rtocase_reset(rtocase *it) {
    if (null_arg(it, msg::kRtocaseResetIteratorIsNULL, __LINE__)) return;
    it->step = 0;
}

extern "C" ZARN_API void rtocase_destroy(rtocase *it) {
    if (it == nullptr) return;
    std::free(it->name);
    std::free(it->variant);
    std::free(it);
}

extern "C" ZARN_API char *path_search_nocase(const char *name, const char *ext, const char *pathList,
                                             char *out) {
    return search(name, ext, pathList, out);
}

extern "C" ZARN_API char *path_search_case(const char *name, const char *ext, const char *pathList,
                                           char *out) {
    return search(name, ext, pathList, out);
}
