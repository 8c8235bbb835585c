// Whether an event has anyone to call, for modules that would otherwise
// prepare a callback's arguments for nobody.
#ifndef ZARN_RTCONTEXT_LISTENERS_H
#define ZARN_RTCONTEXT_LISTENERS_H

namespace zarn::rtcontext {

// True when rtoevent_do_callback(event, ...) would call a callback: the event
// is in the table, enabled, and has at least one registered.
bool has_callbacks(int event);

}  // namespace zarn::rtcontext

#endif
