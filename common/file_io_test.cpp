#include "common/file_io.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>

#include "common/file_lock.h"
#include "common/ini_file.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "common/rename_together.h"
#include "common/text.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

using namespace ovd;
namespace fs = std::filesystem;

namespace {

std::string contentOf(const std::string& path)
{
    return readFileBytes(path).value_or("<unreadable>");
}

std::size_t entriesIn(const std::string& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

}  // namespace

TEST(SamePath, FilesNotYetCreatedCompareByTheirResolvedPath)
{
    TempDir dir;
    fs::create_directory(dir.path("sub"));
    EXPECT_TRUE(samePath(dir.path("new.dbf"), dir.path("sub/../new.dbf")));
    EXPECT_TRUE(samePath(dir.path("new.dbf"), dir.path("./new.dbf")));
    EXPECT_FALSE(samePath(dir.path("new.dbf"), dir.path("new2.dbf")));
    EXPECT_FALSE(samePath("", ""));
#ifndef _WIN32  // symbolic links need a privilege on Windows
    // A link to a folder and the folder itself.
    fs::create_directory_symlink(dir.path("sub"), dir.path("link"));
    EXPECT_TRUE(samePath(dir.path("link/a.txt"), dir.path("sub/a.txt")));
#endif
    // One existing file and one that is not there are never the same.
    ASSERT_TRUE(writeFileAtomically(dir.path("old.txt"), "x"));
    EXPECT_FALSE(samePath(dir.path("old.txt"), dir.path("sub/old.txt")));
    // Existing files compare by inode: a hard link is the same file.
    fs::create_hard_link(dir.path("old.txt"), dir.path("hard.txt"));
    EXPECT_TRUE(samePath(dir.path("old.txt"), dir.path("hard.txt")));
}

// Paths are UTF-8 inside the program; the file system has the same names whatever the system
// calls them by (on Windows UTF-16, never the ANSI code page).
TEST(FileNames, CzechLettersInFolderAndFileNamesAreKept)
{
    TempDir dir;
    const auto native = [](const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); };
    const std::string folder = dir.path("Výpočty ovzduší");
    ASSERT_TRUE(fs::create_directory(native(folder)));
    const std::string table = folder + "/roční průměr.dbf", other = folder + "/žluťoučký kůň.txt";
    ASSERT_TRUE(writeFileAtomically(table, "nové"));
    ASSERT_TRUE(writeFileAtomically(other, "jiné"));
    EXPECT_TRUE(fileExists(table));
    EXPECT_EQ(contentOf(table), "nové");
    EXPECT_TRUE(samePath(table, folder + "/./roční průměr.dbf"));
    EXPECT_FALSE(samePath(table, other));
    File f;
    EXPECT_TRUE(f.openInput(other));
    {
        OutputLock lock;
        RecordingReporter rep;
        EXPECT_TRUE(lock.acquire(rep, {table}));
        EXPECT_TRUE(fileExists(table + ".ovdlock"));
    }
    std::vector<std::string> names;  // the UTF-8 bytes of each name
    for (const auto& e : fs::directory_iterator(native(folder))) {
        const std::u8string name = e.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"roční průměr.dbf", "žluťoučký kůň.txt"}));
}

TEST(SharedFiles, AnOutputThatIsAnInputOrAnotherOutputIsRefusedNamingBothRoles)
{
    TempDir dir;
    RecordingReporter rep;
    std::vector<NamedPath> inputs{{"vstupní textový soubor zdrojů", dir.path("zdroje.txt")}};
    EXPECT_FALSE(refuseSharedFiles(rep, inputs, {{"výstupní binární soubor zdrojů", dir.path("./zdroje.txt")}}));
    ASSERT_EQ(rep.messages.size(), 1u);
    EXPECT_EQ(rep.messages[0].text,
              "Soubor " + dir.path("./zdroje.txt") +
                  " je zadán jako vstupní textový soubor zdrojů i jako výstupní binární soubor "
                  "zdrojů.\nZvolte pro výstup jiný soubor.");
    EXPECT_FALSE(
        refuseSharedFiles(rep, inputs, {{"a", dir.path("x.bin")}, {"b", dir.path("y.bin")}, {"c", dir.path("x.bin")}}));
    EXPECT_TRUE(refuseSharedFiles(rep, inputs, {{"a", dir.path("x.bin")}, {"b", ""}, {"c", ""}}));
    EXPECT_FALSE(fileExists(dir.path("x.bin")));
}

TEST(AtomicOutput, WritesThroughASymlinkAndKeepsTheLink)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux-only: symbolic links need a privilege on Windows";
#else
    TempDir dir;
    fs::create_directory(dir.path("real"));
    ASSERT_TRUE(writeFileAtomically(dir.path("real/table.dbf"), "old"));
    fs::create_symlink("real/table.dbf", dir.path("table.dbf"));
    ASSERT_TRUE(writeFileAtomically(dir.path("table.dbf"), "new"));
    EXPECT_TRUE(fs::is_symlink(dir.path("table.dbf")));
    EXPECT_EQ(contentOf(dir.path("real/table.dbf")), "new");
    // A dangling link gets its target made.
    fs::create_symlink("real/later.dbf", dir.path("later.dbf"));
    ASSERT_TRUE(writeFileAtomically(dir.path("later.dbf"), "made"));
    EXPECT_TRUE(fs::is_symlink(dir.path("later.dbf")));
    EXPECT_EQ(contentOf(dir.path("real/later.dbf")), "made");
#endif
}

TEST(AtomicOutput, NeverReplacesAFileThatIsNotRegular)
{
    TempDir dir;
#ifdef _WIN32
    // Windows has no FIFOs; its devices are the files that are not regular.
    AtomicOutput out;
    EXPECT_FALSE(out.open("NUL"));
    EXPECT_FALSE(writeFileAtomically("NUL", "x"));
    constexpr std::size_t kOthers = 0;
#else
    ASSERT_EQ(::mkfifo(dir.path("pipe").c_str(), 0600), 0);
    AtomicOutput out;
    EXPECT_FALSE(out.open(dir.path("pipe")));
    EXPECT_FALSE(writeFileAtomically(dir.path("pipe"), "x"));
    EXPECT_TRUE(fs::is_fifo(dir.path("pipe")));
    constexpr std::size_t kOthers = 1;
#endif
    fs::create_directory(dir.path("folder"));
    EXPECT_FALSE(writeFileAtomically(dir.path("folder"), "x"));
    EXPECT_TRUE(fs::is_directory(dir.path("folder")));
    EXPECT_EQ(entriesIn(dir.root()), kOthers + 1);  // no temporary file left
}

TEST(AtomicOutput, StaleTemporariesOfTheTargetAreRemovedButNotLiveOnes)
{
    TempDir dir;
    const std::string target = dir.path("out.bin");
    ASSERT_TRUE(writeFileAtomically(target + ".ovdtmp.AbC123", "left by a killed run"));
    ASSERT_TRUE(writeFileAtomically(dir.path("other.bin.ovdtmp.AbC123"), "another target's"));
    AtomicOutput live(target);
    ASSERT_TRUE(live.isOpen());
    EXPECT_FALSE(fileExists(target + ".ovdtmp.AbC123"));
    EXPECT_TRUE(fileExists(dir.path("other.bin.ovdtmp.AbC123")));
    // A second writer of the same target leaves the first one's file alone.
    AtomicOutput second(target);
    ASSERT_TRUE(second.isOpen());
    EXPECT_EQ(entriesIn(dir.root()), 3u);
    ASSERT_TRUE(live.write("first") && live.commit());
    EXPECT_EQ(contentOf(target), "first");
}

TEST(OutputSet, AFailureBeforeTheRenamesKeepsEveryOldFile)
{
    TempDir dir;
    ASSERT_TRUE(writeFileAtomically(dir.path("a.shp"), "old shp"));
    ASSERT_TRUE(writeFileAtomically(dir.path("a.shx"), "old shx"));
    // the .shx cannot be opened, then it can
    for (const char* shx : {"missing/a.shx", "a.shx"}) {
        const bool opens = shx == std::string_view("a.shx");
        {
            OutputSet set;
            set.add(dir.path("a.shp")).write("new shp");
            set.add(dir.path(shx)).write("new shx");
            EXPECT_EQ(set.allOpen(), opens);
            EXPECT_EQ(set.commit(), opens);
        }
        EXPECT_EQ(contentOf(dir.path("a.shp")), opens ? "new shp" : "old shp");
    }
    EXPECT_EQ(contentOf(dir.path("a.shx")), "new shx");
    EXPECT_EQ(entriesIn(dir.root()), 2u);
}

TEST(OutputSet, FilesPublishedTogetherAcrossFoldersAreAllReplacedAndClosed)
{
    TempDir dir;
    fs::create_directories(dir.path("sub"));
    ASSERT_TRUE(writeFileAtomically(dir.path("a.mif"), "old mif"));
    AtomicOutput mif(dir.path("a.mif")), mid(dir.path("sub/a.mid")), gone(dir.path("b.dbf"));
    ASSERT_TRUE(mif.write("new mif") && mid.write("new mid") && gone.write("x"));
    gone.discard();
    // A member that can no longer be published fails the whole set before any rename.
    EXPECT_FALSE(publishTogether({&mif, &mid, &gone}));
    EXPECT_EQ(contentOf(dir.path("a.mif")), "old mif");
    EXPECT_TRUE(publishTogether({&mif, &mid}));
    EXPECT_FALSE(mif.isOpen() || mid.isOpen());
    EXPECT_EQ(contentOf(dir.path("a.mif")), "new mif");
    EXPECT_EQ(contentOf(dir.path("sub/a.mid")), "new mid");
    EXPECT_EQ(entriesIn(dir.root()), 2u);  // a.mif and sub: no temporary or lock left
    EXPECT_EQ(entriesIn(dir.path("sub")), 1u);
}

#ifdef _WIN32
TEST(OutputSet, KilledWritersLeaveWholeSets)
{
    GTEST_SKIP() << "Linux-only: the writers are forked and killed (on Windows: tests/windows/faults_test.sh)";
}
#else
namespace {

// A shapefile's three files holding "old".
std::vector<std::string> oldShapefileSet(TempDir& dir)
{
    const std::vector<std::string> names = {dir.path("a.shp"), dir.path("a.shx"), dir.path("a.dbf")};
    for (const std::string& n : names)
        EXPECT_TRUE(writeFileAtomically(n, "old"));
    return names;
}

pid_t t_writer = 0;  // in the child: its own process

// A child that writes "new" into the set, `renameHook` called at each rename; exits 0 when
// nothing killed it.
pid_t writeSetInChild(const std::vector<std::string>& names, void (*renameHook)())
{
    const pid_t writer = ::fork();
    if (writer != 0)
        return writer;
    t_writer = ::getpid();
    setRenameHookForTests(renameHook);
    OutputSet set;
    for (const std::string& n : names)
        set.add(n).write("new");
    set.commit();
    ::_exit(0);
}

}  // namespace

TEST(OutputSet, ASetIsFinishedWhenItsProcessIsKilledBetweenTwoRenames)
{
    TempDir dir;
    const std::vector<std::string> names = oldShapefileSet(dir);
    // Whoever renames kills the writer right after the first rename, the worst moment.
    const pid_t writer = writeSetInChild(names, [] {
        static bool once = false;
        if (!once && ::kill(t_writer, SIGKILL) == 0)
            ::usleep(50000);
        once = true;
    });
    ASSERT_GE(writer, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    // The renames go on without the writer; give them a moment.
    for (int i = 0; i < 500 && entriesIn(dir.root()) != names.size(); ++i)
        ::usleep(10000);
    for (const std::string& n : names)
        EXPECT_EQ(contentOf(n), "new") << n;
    EXPECT_EQ(entriesIn(dir.root()), names.size());
}

TEST(OutputSet, ASetWhoseWholeProcessGroupIsKilledIsFinishedByTheNextWriter)
{
    TempDir dir;
    const std::vector<std::string> names = oldShapefileSet(dir);
    // After the first rename both the writer and the renaming child die.
    const pid_t writer = writeSetInChild(names, [] {
        ::kill(t_writer, SIGKILL);
        ::kill(::getpid(), SIGKILL);
    });
    ASSERT_GE(writer, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(WIFSIGNALED(status));
    // The child is gone when nobody holds the journal any more.
    for (int i = 0; i < 200; ++i) {
        int fd = ::open(dir.path("a.shp.ovdjournal").c_str(), O_RDONLY);
        const bool free = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (fd >= 0)
            ::close(fd);
        if (free)
            break;
        ::usleep(10000);
    }
    ASSERT_EQ(contentOf(names[0]), "new");
    ASSERT_EQ(contentOf(names[2]), "old") << "the renaming child was not killed";
    // The next run that writes any one of them, or locks it, finishes the set first.
    OutputLock lock;
    RecordingReporter rep;
    ASSERT_TRUE(lock.acquire(rep, {names[2]}));
    for (const std::string& n : names)
        EXPECT_EQ(contentOf(n), "new") << n;
    EXPECT_FALSE(fileExists(dir.path("a.shp.ovdjournal")));
    EXPECT_FALSE(fileExists(dir.path("a.dbf.ovdjournal")));
    EXPECT_EQ(entriesIn(dir.root()), names.size() + 1);  // and the lock
}

#endif

TEST(OutputSet, AJournalCutShortOrNamingOtherFilesMovesNothing)
{
    TempDir dir;
    ASSERT_TRUE(writeFileAtomically(dir.path("a.dbf"), "old"));
    ASSERT_TRUE(writeFileAtomically(dir.path("a.dbf.ovdtmp.ABCDEF"), "new"));
    ASSERT_TRUE(writeFileAtomically(dir.path("other.txt"), "mine"));
    const std::string cut = "ovardix rename journal 1\n" + dir.path("a.dbf.ovdtmp.ABCDEF") + "\t" + dir.path("a.dbf") + "\n";
    ASSERT_TRUE(writeFileAtomically(dir.path("a.dbf.ovdjournal"), cut));
    finishInterruptedRenames(dir.path("a.dbf"));
    EXPECT_EQ(contentOf(dir.path("a.dbf")), "old");
    EXPECT_FALSE(fileExists(dir.path("a.dbf.ovdjournal")));
    const std::string foreign = "ovardix rename journal 1\n" + dir.path("other.txt") + "\t" + dir.path("a.dbf") + "\nend\n";
    ASSERT_TRUE(writeFileAtomically(dir.path("a.dbf.ovdjournal"), foreign));
    finishInterruptedRenames(dir.path("a.dbf"));
    EXPECT_EQ(contentOf(dir.path("a.dbf")), "old");
    EXPECT_EQ(contentOf(dir.path("other.txt")), "mine");
    const std::string whole = "ovardix rename journal 1\n" + dir.path("a.dbf.ovdtmp.ABCDEF") + "\t" + dir.path("a.dbf") + "\nend\n";
    ASSERT_TRUE(writeFileAtomically(dir.path("a.dbf.ovdjournal"), whole));
    finishInterruptedRenames(dir.path("a.dbf"));
    EXPECT_EQ(contentOf(dir.path("a.dbf")), "new");
}

TEST(Inputs, NonRegularFilesAreRefusedWithoutBlocking)
{
    TempDir dir;
    File f;
#ifdef _WIN32
    // Windows has no FIFOs; a console or device would wait or never end all the same.
    EXPECT_FALSE(readFileBytes("NUL"));
    EXPECT_FALSE(readTextFile("NUL"));
    EXPECT_FALSE(f.openInput("CON"));
#else
    ASSERT_EQ(::mkfifo(dir.path("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(readFileBytes(dir.path("pipe")));  // would wait for a writer if opened plainly
    EXPECT_FALSE(readFileBytes("/dev/zero"));
    EXPECT_FALSE(readTextFile("/dev/zero"));
    EXPECT_FALSE(f.openInput(dir.path("pipe")));
#endif
    EXPECT_FALSE(f.openInput(dir.root()));
}

TEST(OutputLock, ASecondRunOnTheSameOutputStopsWithAMessage)
{
    TempDir dir;
    RecordingReporter rep;
    auto first = std::make_unique<OutputLock>();
    ASSERT_TRUE(first->acquire(rep, {dir.path("a.dbf"), "", dir.path("b.dbf")}));
    EXPECT_TRUE(fileExists(dir.path("a.dbf.ovdlock")));
    OutputLock second;
    EXPECT_FALSE(second.acquire(rep, {dir.path("c.dbf"), dir.path("b.dbf")}));
    ASSERT_EQ(rep.messages.size(), 1u);
    EXPECT_EQ(rep.messages[0].caption, "Chyba");
    EXPECT_NE(rep.messages[0].text.find(dir.path("b.dbf") + " právě zapisuje jiný běh programu."), std::string::npos);
    first.reset();
    EXPECT_EQ(entriesIn(dir.root()), 0u);  // the lock files go with their locks
    EXPECT_TRUE(second.acquire(rep, {dir.path("c.dbf"), dir.path("b.dbf")}));
}

TEST(IniFile, ConcurrentWritersLoseNoKey)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux-only: the writers are forked processes";
#else
    TempDir dir;
    const std::string path = dir.path("study.ovd");
    constexpr int kWriters = 4, kKeys = 40;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            IniFile ini(path);
            bool ok = true;
            for (int k = 0; k < kKeys; ++k)
                ok = ini.write("Global", "K" + std::to_string(w) + "_" + std::to_string(k), "v") && ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(IniFile(path).readSection("Global").size(), std::size_t(kWriters * kKeys));
    EXPECT_EQ(entriesIn(dir.root()), 1u);
#endif
}

TEST(IniFile, AByteOrderMarkIsSkippedAndKept)
{
    TempDir dir;
    const std::string path = dir.path("study.ovd");
    ASSERT_TRUE(writeFileAtomically(path, "\xEF\xBB\xBF[Global]\r\nVstReferBodTxt=body.txt\r\n"));
    IniFile ini(path);
    EXPECT_EQ(ini.read("Global", "VstReferBodTxt"), "body.txt");
    ASSERT_TRUE(ini.write("GLOBAL", "VstRuziceTxt", "r.txt"));
    EXPECT_EQ(contentOf(path), "\xEF\xBB\xBF[Global]\r\nVstReferBodTxt=body.txt\r\nVstRuziceTxt=r.txt\r\n");
}

TEST(TextInputs, AByteOrderMarkIsSkippedAndAnOverlongLineStopsTheReading)
{
    TempDir dir;
    ASSERT_TRUE(writeFileAtomically(dir.path("a.txt"),
                                    "\xEF\xBB\xBF"
                                    "1,2;\r\n2,3;\r\n"));
    auto tf = readTextFile(dir.path("a.txt"));
    ASSERT_TRUE(tf);
    EXPECT_EQ(tf->lines, (std::vector<std::string>{"1,2;", "2,3;"}));
    EXPECT_TRUE(tf->crlf);

    std::string lineAtLimit(kMaxLineBytes, 'x');
    ASSERT_TRUE(writeFileAtomically(dir.path("b.txt"), "first\n" + lineAtLimit + "\r\n" + lineAtLimit + "y\nlast\n"));
    tf = readTextFile(dir.path("b.txt"));
    ASSERT_TRUE(tf);
    EXPECT_EQ(tf->tooLongLine, 3);
    EXPECT_EQ(tf->lines.size(), 2u);

    File f;
    ASSERT_TRUE(f.openInput(dir.path("b.txt")));
    LineReader reader(f.get());
    std::string line;
    EXPECT_TRUE(reader.next(line) && reader.next(line));
    EXPECT_EQ(line.size(), kMaxLineBytes);
    EXPECT_FALSE(reader.next(line));
    EXPECT_TRUE(reader.tooLong());
    EXPECT_EQ(reader.lineNumber(), 3);

    ASSERT_TRUE(writeFileAtomically(dir.path("c.txt"),
                                    "\xEF\xBB\xBF"
                                    "1,2;\n"));
    ASSERT_TRUE(f.openInput(dir.path("c.txt")));
    LineReader bomReader(f.get());
    EXPECT_TRUE(bomReader.next(line));
    EXPECT_EQ(line, "1,2;");
}
