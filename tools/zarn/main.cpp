// zarn: everyday questions about units and saved model state, answered by
// libzarnutils. `zarn FAMILY COMMAND ARGS...`; each family lives in its own
// source file and is listed in kFamilies.
#include <cstdio>
#include <cstring>
#include <string>

#include "zarn.h"

namespace zarn::cli {
namespace {

const Family *const kFamilies[] = {&kUnitsFamily, &kXfileFamily, &kVarfileFamily};

bool wants_help(const char *arg) { return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0; }

void print_overview(FILE *out) {
    std::fprintf(out,
                 "usage: zarn FAMILY COMMAND [ARGUMENTS]\n"
                 "       zarn FAMILY COMMAND --help\n"
                 "\n");
    for (const Family *f : kFamilies) {
        std::fprintf(out, "%s: %s\n", f->name, f->summary);
        for (size_t k = 0; k < f->count; ++k) {
            const Command &c = f->commands[k];
            const std::string call = std::string(f->name) + " " + c.name + " " + c.args;
            std::fprintf(out, "  zarn %-32s %s\n", call.c_str(), c.summary);
        }
    }
    std::fprintf(out,
                 "\n"
                 "Exit status: 0 done, 1 nothing found or differences found, 2 bad usage or bad input.\n");
}

void print_family(FILE *out, const Family &f) {
    std::fprintf(out, "zarn %s: %s\n\n", f.name, f.summary);
    for (size_t k = 0; k < f.count; ++k) {
        const Command &c = f.commands[k];
        const std::string call = std::string(f.name) + " " + c.name + " " + c.args;
        std::fprintf(out, "  zarn %-32s %s\n", call.c_str(), c.summary);
    }
}

void print_command(FILE *out, const Family &f, const Command &c) {
    std::fprintf(out, "usage: zarn %s %s %s\n\n%s\n\n%s\n", f.name, c.name, c.args, c.summary, c.help);
}

const Family *find_family(const char *name) {
    for (const Family *f : kFamilies)
        if (std::strcmp(f->name, name) == 0) return f;
    return nullptr;
}

const Command *find_command(const Family &f, const char *name) {
    for (size_t k = 0; k < f.count; ++k)
        if (std::strcmp(f.commands[k].name, name) == 0) return &f.commands[k];
    return nullptr;
}

int usage_error(const std::string &who, const std::string &message) {
    std::fprintf(stderr, "%s: %s\n", who.c_str(), message.c_str());
    return kBad;
}

}  // namespace

int dispatch(int argc, char **argv) {
    if (argc < 2) return usage_error("zarn", "no command given (zarn --help lists them)");
    if (wants_help(argv[1])) {
        print_overview(stdout);
        return kDone;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("zarn %s\n", ZARN_TOOL_VERSION);
        return kDone;
    }
    const Family *family = find_family(argv[1]);
    if (family == nullptr)
        return usage_error("zarn", std::string("unknown command '") + argv[1] + "' (zarn --help lists them)");
    const std::string fname = std::string("zarn ") + family->name;
    if (argc < 3)
        return usage_error(fname, "no command given (zarn " + std::string(family->name) + " --help)");
    if (wants_help(argv[2])) {
        print_family(stdout, *family);
        return kDone;
    }
    const Command *command = find_command(*family, argv[2]);
    if (command == nullptr)
        return usage_error(fname, std::string("unknown command '") + argv[2] + "' (zarn " + family->name +
                                      " --help lists them)");
    Call call{fname + " " + command->name, {}, false};
    for (int k = 3; k < argc; ++k) {
        const char *arg = argv[k];
        if (wants_help(arg)) {
            print_command(stdout, *family, *command);
            return kDone;
        }
        if (std::strncmp(arg, "--", 2) != 0) {
            call.args.push_back(arg);
        } else if (command->option != nullptr && std::strcmp(arg, command->option) == 0) {
            call.option = true;
        } else {
            return usage_error(call.name, std::string("unknown option '") + arg + "' (--help for more)");
        }
    }
    const int n = static_cast<int>(call.args.size());
    if (n < command->min_args || n > command->max_args)
        return usage_error(call.name, std::string("expects ") + command->args + " (--help for more)");
    return command->run(call);
}

int main(int argc, char **argv) {
    capture_messages();
    const int status = dispatch(argc, argv);
    release_messages();
    return status;
}

}  // namespace zarn::cli

int main(int argc, char **argv) { return zarn::cli::main(argc, argv); }
