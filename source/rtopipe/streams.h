// The library's own file streams, offered to the value module's close-all call.
#ifndef ZARN_RTOPIPE_STREAMS_H
#define ZARN_RTOPIPE_STREAMS_H

namespace zarn::rtopipe {

// Closes the stream of every live file pipe, whoever opened it (standard input,
// output and error excepted) and returns how many it closed. The pipes stay
// valid: they read as at their end and refuse writes until destroyed.
int close_file_streams();

}  // namespace zarn::rtopipe

#endif
