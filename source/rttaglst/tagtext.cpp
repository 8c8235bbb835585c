// Texts of tag-list entries and the alias rule.
#include "rttaglst/tagtext.h"

#include <cstdlib>
#include <cstring>

#include "zarnutils/rttaglst.h"

namespace zarn::rttaglst {

// Each entry keeps its own copy until the shared interning store is in the
// library; then equal texts will share one copy and drop_text does nothing.
const char *keep_text(const char *text) {
    const size_t n = std::strlen(text);
    auto *copy = static_cast<char *>(std::malloc(n + 1));
    if (copy != nullptr) std::memcpy(copy, text, n + 1);
    return copy;
}

void drop_text(const char *text) { std::free(const_cast<char *>(text)); }

namespace {

// The model-name rule: first an upper-case letter, a digit or '$'; then
// blanks, digits, upper-case letters and $ ( ) * + , - . / : ; < = > [ ] _ { }.
bool model_name(std::string_view s) {
    if (s.empty()) return false;
    const unsigned char first = static_cast<unsigned char>(s[0]);
    if (!((first >= 'A' && first <= 'Z') || (first >= '0' && first <= '9') || first == '$')) return false;
    for (size_t i = 1; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ') continue;
        if (c != '\0' && std::strchr("$()*+,-./:;<=>[]_{}", c) != nullptr) continue;
        return false;
    }
    return true;
}

}  // namespace

bool legal_alias(std::string_view alias) { return alias.size() <= RTOTAGLST_MAX_ALIAS && model_name(alias); }

}  // namespace zarn::rttaglst
