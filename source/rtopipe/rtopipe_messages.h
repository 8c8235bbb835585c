// Every text the pipes print, in one place.
#ifndef ZARN_RTOPIPE_RTOPIPE_MESSAGES_H
#define ZARN_RTOPIPE_RTOPIPE_MESSAGES_H

namespace zarn::rtopipe::msg {

// Basic operations, on standard error.
inline constexpr char kNoWrite[] = "!!!rtowrite: Pipe does not support writing!\n";
inline constexpr char kNoRead[] = "!!!rtoread: Pipe does not support reading!\n";
inline constexpr char kNullWriteBuffer[] = "!!!rtowrite: NULL buffer with a non-zero length!\n";
inline constexpr char kNullReadBuffer[] = "!!!rtoread: NULL buffer with a non-zero size!\n";
inline constexpr char kNullFormat[] = "!!!rtoprintf: NULL format!\n";
// On the history pipe, or on standard error when it is the pipe asked for or missing.
inline constexpr char kCopyDead[] = "Request to copy NULL or deallocated pipe\n";

// A failing file stream or console, about the pipe: "<operation>: <system text> ...".
inline constexpr char kFileFailure[] = "%s: %s on file %s\n";
inline constexpr char kConsoleFailure[] = "%s: %s\n";
inline constexpr char kPull[] = "genericFileStreamPull";
inline constexpr char kPush[] = "genericFileStreamPush";
inline constexpr char kFlush[] = "genericFileStreamFlush";
inline constexpr char kClose[] = "genericFileStreamDestroy";
inline constexpr char kConsolePull[] = "interactivePull";
// After too many failed reads in a row: history pipe, or standard error.
inline constexpr char kGiveUp[] = "%d consecutive read errors!  Giving up!\n";
inline constexpr char kGiveUpStderr[] = "%d consecutive read error!  Giving up!\n";  // documented as is

// Host streams.
inline constexpr char kStreamPull[] =
    "StreamRTOPipePull reported an error while trying to read the IStream.\n";

// A new pipe, or a queue's new chunks, could not be had; names the function.
inline constexpr char kNoMemory[] = "!!%s: Unable to allocate memory for the pipe\n";

// Fixed-length writes without a device, on standard error. The double
// underscore is documented as is.
inline constexpr char kNoHisWriteln[] = "!!rtohis__writeln: NULL history device\n";
inline constexpr char kNoHisWrite[] = "!!rtohis__write: NULL history device\n";
inline constexpr char kNoRepWriteln[] = "!!rtorep__writeln: NULL report device\n";
inline constexpr char kNoRepWrite[] = "!!rtorep__write: NULL report device\n";
inline constexpr char kNoRepWritestr[] = "!!rtorep__writestr: NULL report device\n";

// Assertion lines of rtoprintf, under this source name.
inline constexpr char kPrintfSource[] = "source/rtopipe/rtoprintf";
inline constexpr char kPrintfNegative[] = "rtoprintf: vsprintf returned negative";
inline constexpr char kPrintfOverrun[] = "rtoprintf: Overran it's buffer";  // documented as is
inline constexpr char kPrintfCount[] = "rtoprintf: count != strlen";

}  // namespace zarn::rtopipe::msg

#endif
