// Texts held by tag lists, and the rule an alias must follow.
#ifndef ZARN_RTTAGLST_TAGTEXT_H
#define ZARN_RTTAGLST_TAGTEXT_H

#include <string_view>

namespace zarn::rttaglst {

// A stored copy of text that lives until drop_text; NULL when memory fails.
const char *keep_text(const char *text);
// Gives back a text from keep_text; NULL is ignored.
void drop_text(const char *text);
// At most 40 characters and a legal model name.
bool legal_alias(std::string_view alias);

}  // namespace zarn::rttaglst

#endif
