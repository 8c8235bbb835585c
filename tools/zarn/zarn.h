// The zarn command: subcommand families, each in a source file of its own
// (units.cpp, xfile.cpp, ...), a table of commands per family, and the pieces
// they share: exit codes, error lines, the library's messages, a progress bar.
#ifndef ZARN_TOOLS_ZARN_H
#define ZARN_TOOLS_ZARN_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zarn::cli {

// Exit status of every command.
enum Exit : int {
    kDone = 0,     // done
    kNothing = 1,  // nothing found (or differences found)
    kBad = 2,      // bad usage or bad input
};

// What a command runs with: its full name for messages ("zarn units convert"),
// its positional arguments after the command word and whether its option was given.
struct Call {
    std::string name;
    std::vector<const char *> args;
    bool option;
};

struct Command {
    const char *name;        // the word after the family
    const char *args;        // the arguments it takes, as shown by --help
    const char *summary;     // one line
    const char *help;        // what --help adds: a paragraph and an example
    int min_args, max_args;  // positional arguments
    const char *option;      // the one "--" option it takes, or null
    int (*run)(const Call &call);
};

struct Family {
    const char *name;
    const char *summary;
    const Command *commands;
    size_t count;
};

// The families, one per source file. A new family adds its table here and in
// main.cpp's list.
extern const Family kUnitsFamily;
extern const Family kXfileFamily;
extern const Family kVarfileFamily;

// One clear line on standard error, "<call name>: <message>", and kBad.
int fail(const Call &call, const std::string &message);
// The same line with the exit status given (kNothing for "nothing found").
int report(const Call &call, const std::string &message, int status);

// The library's messages: zarn points the history device at a queue from the
// start, so that no message reaches standard output; a command takes what the
// library said since the last call (lines joined by "; ", prefixes like
// "!! function: " removed) to explain a failure.
void capture_messages();
std::string take_messages();
// The same, one message line each (without the prefixes).
std::vector<std::string> take_message_lines();
// Forgets what the library said, after a call whose messages do not matter.
void drop_messages();
// Gives the history device back to standard output, freeing the queue.
void release_messages();

// Parses a whole argument as a finite number.
bool parse_number(const char *text, double *out);
// Parses a whole argument as a decimal integer.
bool parse_integer(const char *text, int64_t *out);

// A number the way zarn prints every real: shortest form that reads back
// within 15 significant digits ("%.15g").
std::string number(double v);

// A progress bar on standard error for a long run: shown only when standard
// error is a terminal and the work is at least `threshold` units; redrawn
// when the whole percentage changes; erased by done() or the destructor.
class Progress {
  public:
    Progress(const std::string &what, uint64_t total, uint64_t threshold);
    ~Progress();
    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;
    void update(uint64_t done);
    void done();

  private:
    std::string what_;
    uint64_t total_;
    int shown_ = -1;  // percentage on the screen, -1 when nothing is
    bool enabled_;
};

}  // namespace zarn::cli

#endif
