// The bash completion script, run by bash as completion runs it: COMP_WORDS and COMP_CWORD in,
// COMPREPLY out.
#include "cli/ToolOptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The completions of the line's last word ("" when the line ends in a blank), sorted.
std::vector<std::string> complete(const std::string& line) {
    const std::string script =
        std::string("source \"$1\" || exit 9; read -ra COMP_WORDS <<< \"$2\"; ") +
        "[[ $2 == *' ' ]] && COMP_WORDS+=(''); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); " +
        "_tkm9214; printf '%s\\n' \"${COMPREPLY[@]}\"";
    std::vector<std::string> arguments{"bash", "--norc", "--noprofile",         "-c",
                                       script, "bash",   TKM_COMPLETION_SCRIPT, line};
    std::vector<char*> argv;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe2(out, O_CLOEXEC) == -1)
        return {"(no pipe)"};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    pid_t pid = -1;
    const int spawned = ::posix_spawnp(&pid, "bash", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; spawned == 0 && (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    if (spawned == 0)
        ::waitpid(pid, nullptr, 0);
    std::vector<std::string> words;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        if (end > start)
            words.push_back(text.substr(start, end - start));
    }
    std::sort(words.begin(), words.end());
    return words;
}

using Words = std::vector<std::string>;

TEST(ToolCompletion, CompletesCommandsWordsOptionsAndValues) {
    if (::access("/bin/bash", X_OK) != 0)
        GTEST_SKIP() << "no bash";
    // Every command the tool knows, and no other.
    Words commands;
    for (const QString& name : ToolOptions::commandNames())
        commands.push_back(name.toStdString());
    std::sort(commands.begin(), commands.end());
    EXPECT_EQ(complete("tkm9214 "), commands);
    EXPECT_EQ(complete("tkm9214 --simulator -b 19200 d"), (Words{"dio", "display"}));

    EXPECT_EQ(complete("tkm9214 dio "), (Words{"directions", "read", "save-power-on", "save-safe", "write"}));
    EXPECT_EQ(complete("tkm9214 watchdog set o"), (Words{"off", "on"}));
    EXPECT_EQ(complete("tkm9214 help wa"), (Words{"watchdog"}));
    EXPECT_EQ(complete("tkm9214 --baud 11"), (Words{"115200"}));
    EXPECT_EQ(complete("tkm9214 configure --code-page "), (Words{"cp866", "koi8r", "win1251"}));
    EXPECT_EQ(complete("tkm9214 find --a"), (Words{"--address", "--addresses", "--all"}));
    EXPECT_EQ(complete("tkm9214 keys --watch --c"), (Words{"--checksum", "--count"}));
    EXPECT_EQ(complete("tkm9214 --ti"), (Words{"--timeout"}));
    EXPECT_EQ(complete("tkm9214 --address 5 "), commands);
}

} // namespace
