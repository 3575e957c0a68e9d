// A save killed at any moment leaves the .tkm file it replaces either as it was or as the save makes
// it, whole. A child process saves over an existing file through the window's file layer (settings
// and symbols in turn) and is killed (SIGKILL) after a random delay within about the time a save takes,
// many times over the same file; after each kill the file must be the old one byte for byte, or
// exactly the old one with the save's keys and stamp. The copy a killed save leaves beside the file
// goes with the next save.
#include "SaveGeneration.h"

#include "files/IniFile.h"
#include "files/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// tkm_save_child, its output on a pipe.
class SaveChild {
public:
    SaveChild(const QString& file, SaveKind kind, int generation) {
        int pipeEnds[2];
        if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
            return;
        output_ = pipeEnds[0];
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        std::string program = TKM_SAVE_CHILD;
        std::string path = QFile::encodeName(file).toStdString();
        std::string what = kind == SaveKind::Symbols ? "symbols" : "settings";
        std::string number = std::to_string(generation);
        char* argv[] = {program.data(), path.data(), what.data(), number.data(), nullptr};
        if (::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeEnds[1]);
    }
    SaveChild(const SaveChild&) = delete;
    SaveChild& operator=(const SaveChild&) = delete;
    ~SaveChild() {
        kill();
        if (output_ >= 0)
            ::close(output_);
    }

    bool started() const { return pid_ > 0; }
    // The next byte the child writes: 'r' before its save, 'd' after it; 0 when it wrote nothing more.
    char next() {
        char byte = 0;
        ssize_t n;
        do
            n = ::read(output_, &byte, 1);
        while (n == -1 && errno == EINTR);
        return n == 1 ? byte : 0;
    }
    void kill() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int output_ = -1;
};

QByteArray ReadFile(const QString& path) {
    return WholeFile::read(path, 1 << 20).value_or(QByteArray("(unreadable)"));
}

// The old file as the save makes it, with the stamp the new file carries.
std::optional<QByteArray> AsSaved(const QByteArray& old, const QByteArray& now, SaveKind kind,
                                  int generation) {
    const std::optional<std::string> stamp = IniFile(now).value("Modification", "DateTime");
    if (!stamp)
        return std::nullopt;
    IniFile saved(old);
    WriteGeneration(saved, kind, generation);
    saved.setValue("Modification", "DateTime", *stamp);
    return saved.bytes();
}

TEST(KilledSave, TheFileIsAlwaysTheOldOneOrTheNewOneWhole) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString file = folder.filePath(QStringLiteral("settings.tkm"));
    // Both pages' sections and one of another program, which every save must keep.
    IniFile initial(QByteArray("[Other]\r\nkeep=this line\r\n"));
    WriteGeneration(initial, SaveKind::Settings, 0);
    WriteGeneration(initial, SaveKind::Symbols, 0);
    ASSERT_TRUE(WholeFile::replace(file, initial.bytes()));

    // How long a save takes here, from the child's "r" to its "d".
    std::vector<double> saveMicroseconds;
    for (int generation = 1; generation <= 5; ++generation) {
        SaveChild child(file, generation % 2 != 0 ? SaveKind::Symbols : SaveKind::Settings, generation);
        ASSERT_TRUE(child.started());
        ASSERT_EQ(child.next(), 'r');
        const Clock::time_point start = Clock::now();
        ASSERT_EQ(child.next(), 'd');
        saveMicroseconds.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(saveMicroseconds.begin(), saveMicroseconds.end());
    const double median = saveMicroseconds[saveMicroseconds.size() / 2];

    constexpr int kKills = 150;
    std::mt19937 random(20261208);
    // The kill comes at a random moment within `span`. A loaded machine stretches a save, so the span
    // follows the outcomes: longer after a kill that came too early, shorter after one too late, which
    // keeps the kills spread over the whole save.
    double span = 1.5 * median;
    int keptOld = 0, madeNew = 0, killedMidSave = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const int generation = 100 + kill;
        const SaveKind kind = kill % 2 == 0 ? SaveKind::Settings : SaveKind::Symbols;
        const QByteArray old = ReadFile(file);

        SaveChild child(file, kind, generation);
        ASSERT_TRUE(child.started());
        ASSERT_EQ(child.next(), 'r');
        // Slept, not spun: on two cores a spinning parent would hold back the child it times.
        std::this_thread::sleep_for(std::chrono::duration<double, std::micro>(
            std::uniform_real_distribution<double>(0, span)(random)));
        child.kill();
        const bool done = child.next() == 'd';

        const QByteArray now = ReadFile(file);
        if (now == old && !done) {
            ++keptOld;
            span *= 1.1;
        } else {
            span /= 1.1;
            ASSERT_EQ(AsSaved(old, now, kind, generation), now)
                << "kill " << kill << " left a file that is neither the old one nor the new one";
            ++madeNew;
        }
        // A save killed before its rename leaves its copy, and the next save removes it: nothing else
        // may appear, and never more than this save's copy.
        QStringList left = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
        left.removeOne(QStringLiteral("settings.tkm"));
        ASSERT_LE(left.size(), 1) << left.join(u' ').toStdString();
        for (const QString& name : left) {
            ASSERT_TRUE(name.startsWith(QStringLiteral(".settings.tkm.")) && name.endsWith(QLatin1Char('~')))
                << name.toStdString();
            ++killedMidSave;
        }
    }
    std::printf(
        "%d kills (save takes %.0f us): %d kept the old file (%d of them in the middle of writing), %d "
        "found the new one\n",
        kKills, median, keptOld, killedMidSave, madeNew);
    // The delays spread the kills over the whole save: some before the rename, some after.
    EXPECT_GT(keptOld, 0);
    EXPECT_GT(madeNew, 0);
    EXPECT_GT(killedMidSave, 0);
}

} // namespace
