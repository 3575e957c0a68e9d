#pragma once

#include <QStringList>

class PortEnumerator;

// tkm9214 as a whole: parses the command line, runs the command against the port it names (or the
// built-in simulated terminal) and returns the exit status (see ToolError.h). Results go to standard
// output, messages, the trace and progress to standard error. Runs on the thread of the
// QCoreApplication, which must exist; one at a time (it takes SIGINT, SIGTERM and SIGHUP while it
// runs, and ignores SIGPIPE).
namespace Tool {

// arguments: the whole command line, program name first. ports: where `ports` looks (the machine's
// sysfs when null).
int run(const QStringList& arguments, PortEnumerator* ports = nullptr);
// The command line as the process got it: an argument that is not UTF-8 text is a usage error.
int run(int argc, char** argv);

} // namespace Tool
