// The one text of the digest: an assertion line when no MD5 can be started.
#ifndef ZARN_MSGDIGEST_MSGDIGEST_MESSAGES_H
#define ZARN_MSGDIGEST_MSGDIGEST_MESSAGES_H

namespace zarn::msgdigest::msg {

inline constexpr char kSource[] = "source/msgdigest/msgdigest";
// The platform's digest library is libcrypto here; the wording is the documented one.
inline constexpr char kNoInit[] = "msgdigest::MD5Init  Could not locate function MD5Init in libcrypto";

}  // namespace zarn::msgdigest::msg

#endif
