// One payload item to one file, on the real file system.
#include <gtest/gtest.h>

#include <process.h>

#include <random>

#include "packager/EngineFormat.h"
#include "platform/FileWrite.h"
#include "platform/ShutdownBlock.h"
#include "tests/win/InstallerFixture.h"
#include "tests/support/Logs.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/Payloads.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestInstaller.h"

using packager::Bytes;
using testing_support::B;
using testing_support::ReadFileBytes;

namespace {

// Bytes that do not compress, so that the stored item is as large as the
// file, and that tell every position apart.
Bytes Noise(size_t size) {
  std::mt19937 random(static_cast<uint32_t>(size));
  Bytes bytes(size);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
  return bytes;
}

class ExtractItemTest : public InstallerFixture {
 protected:
  // The engine running in the working folder with its loader channel.
  void StartEngine() {
    ASSERT_TRUE(testing_support::PlaceEngine(work_));
    ASSERT_TRUE(installer_->StartEngine());
    ASSERT_TRUE(installer_->CreateLoaderChannel());
  }

  void TearDown() override {
    if (installer_) installer_->ReleaseEngine();
  }
};

TEST_F(ExtractItemTest, PackedItemInAFreshFolder_InflatedAndFolderRecordedOnce) {
  packager::PayloadBuilder payload;
  payload.AddPacked("channels\\SaverUnit.dll", B("saver module"));
  payload.AddPacked("channels\\LoaderUnit.dll", B("loader module"));
  auto& installer = Make(payload);
  ASSERT_TRUE(installer.ExtractItem("channels\\SaverUnit.dll", 1));
  ASSERT_TRUE(installer.ExtractItem("channels\\LoaderUnit.dll", 1));
  EXPECT_EQ("saver module", ReadFileBytes(work_ + "\\channels\\SaverUnit.dll"));
  EXPECT_EQ(std::vector<std::string>{work_ + "\\channels\\"}, installer.Folders());
  EXPECT_EQ((std::vector<std::string>{work_ + "\\channels\\SaverUnit.dll", work_ + "\\channels\\LoaderUnit.dll"}),
            installer.Files());
}

TEST_F(ExtractItemTest, ForwardSlashesAndLeadingBackslash_RecordedAsTheNamesSay) {
  packager::PayloadBuilder payload;
  payload.AddRaw("a/b/c.txt", B("abc"));
  payload.AddRaw("\\lead\\x.txt", B("x"));
  auto& installer = Make(payload);
  ASSERT_TRUE(installer.ExtractItem("a/b/c.txt", 0));
  ASSERT_TRUE(installer.ExtractItem("\\lead\\x.txt", 0));
  EXPECT_EQ((std::vector<std::string>{work_ + "\\a\\", work_ + "\\a\\b\\", work_ + "\\\\lead\\"}),
            installer.Folders());
  EXPECT_EQ((std::vector<std::string>{work_ + "\\a/b/c.txt", work_ + "\\\\lead\\x.txt"}), installer.Files());
  EXPECT_EQ("abc", ReadFileBytes(work_ + "\\a\\b\\c.txt"));
}

TEST_F(ExtractItemTest, InstallationFolderAndParents_CreatedAndRecorded) {
  packager::PayloadBuilder payload;
  payload.AddRaw("f.txt", B("f"));
  auto& installer = Make(payload);
  installer.SetWorkFolder(work_ + "\\new\\deeper");
  ASSERT_TRUE(installer.ExtractItem("f.txt", 0));
  EXPECT_EQ((std::vector<std::string>{work_ + "\\new\\", work_ + "\\new\\deeper\\"}), installer.Folders());
}

TEST_F(ExtractItemTest, FilesAlternatingBetweenFolders_EachFolderMadeAndRecordedOnce) {
  packager::PayloadBuilder payload;
  for (const char* name : {"a\\1.txt", "b\\2.txt", "a\\3.txt", "a\\c\\4.txt", "b\\5.txt"}) {
    payload.AddRaw(name, B(name));
  }
  auto& installer = Make(payload);
  for (const char* name : {"a\\1.txt", "b\\2.txt", "a\\3.txt", "a\\c\\4.txt", "b\\5.txt"}) {
    ASSERT_TRUE(installer.ExtractItem(name, 0)) << name;
    EXPECT_EQ(name, ReadFileBytes(work_ + "\\" + name));
  }
  EXPECT_EQ((std::vector<std::string>{work_ + "\\a\\", work_ + "\\b\\", work_ + "\\a\\c\\"}), installer.Folders());
}

TEST_F(ExtractItemTest, AfterTheFilesAreRemoved_FoldersMadeAgain) {
  packager::PayloadBuilder payload;
  payload.AddRaw("a\\1.txt", B("one"));
  auto& installer = Make(payload);
  installer.SetWorkFolder(work_ + "\\run");
  ASSERT_TRUE(installer.ExtractItem("a\\1.txt", 0));
  // The removal steps out of the working folder into its parent; this
  // process's own current folder is put back.
  char current[MAX_PATH];
  ASSERT_NE(0u, GetCurrentDirectoryA(sizeof(current), current));
  installer.RemoveExtractedFiles();
  SetCurrentDirectoryA(current);
  ASSERT_FALSE(testing_support::FileExists(work_ + "\\run"));
  ASSERT_TRUE(installer.ExtractItem("a\\1.txt", 0));
  EXPECT_EQ("one", ReadFileBytes(work_ + "\\run\\a\\1.txt"));
}

// An earlier copy is replaced only by a whole file, and a file that has the
// name the new one is first written under stays as it is.
TEST_F(ExtractItemTest, ExistingFile_ReplacedOnlyByAWholeOneNeighboursKept) {
  packager::PayloadBuilder payload;
  payload.AddRaw("f.txt", B("new"));
  payload.AddRaw("g.txt", B("sixteen bytes!!!"));
  Make(payload);
  ASSERT_TRUE(testing_support::WriteFileBytes(work_ + "\\f.txt", "old and longer", 14));
  ASSERT_TRUE(testing_support::WriteFileBytes(work_ + "\\f.txt~", "the user's", 10));
  ASSERT_TRUE(installer_->ExtractItem("f.txt", 0));
  EXPECT_EQ("new", ReadFileBytes(work_ + "\\f.txt"));
  EXPECT_EQ("the user's", ReadFileBytes(work_ + "\\f.txt~"));
  EXPECT_FALSE(testing_support::FileExists(work_ + "\\f.txt~1"));
  // A disk that fills up over an earlier copy.
  ASSERT_TRUE(testing_support::WriteFileBytes(work_ + "\\g.txt", "earlier", 7));
  platform::writeHook = [](HANDLE, const void*, DWORD, DWORD* written) {
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
  };
  bool extracted = installer_->ExtractItem("g.txt", 0);
  platform::writeHook = nullptr;
  EXPECT_FALSE(extracted);
  EXPECT_EQ("earlier", ReadFileBytes(work_ + "\\g.txt"));
  EXPECT_FALSE(testing_support::FileExists(work_ + "\\g.txt~"));
}

// Outside the lists every item is a program or the start file, which no
// one can use empty: refused as damage, the file there before left alone.
// (Empty list entries are files of the project, written like any other.)
TEST_F(ExtractItemTest, EmptyItemsOutsideLists_RefusedAndNothingWritten) {
  packager::PayloadBuilder payload;
  payload.AddRaw("empty.bin", Bytes());
  payload.AddPacked("packed.bin", Bytes());
  auto& installer = Make(payload);
  testing_support::WriteFileBytes(work_ + "\\packed.bin", "old", 3);
  EXPECT_FALSE(installer.ExtractItem("empty.bin", 0));
  EXPECT_FALSE(installer.ExtractItem("packed.bin", 1));
  EXPECT_FALSE(testing_support::FileExists(work_ + "\\empty.bin"));
  EXPECT_EQ("old", ReadFileBytes(work_ + "\\packed.bin"));
  EXPECT_TRUE(installer.Files().empty());
  EXPECT_TRUE(messages_.Messages().empty());
}

// A disk that fills up mid-write, or a write refused outright: no damaged or
// empty file may stay behind looking installed, and none is recorded.
TEST_F(ExtractItemTest, WriteFailsOrStopsShort_FalseAndNoFileLeft) {
  struct Case {
    const char* name;
    platform::WriteHook hook;
  };
  const Case cases[] = {
      {"short.bin",
       [](HANDLE file, const void* bytes, DWORD count, DWORD* written) {
         return WriteFile(file, bytes, count / 2, written, nullptr);
       }},
      {"refused.bin",
       [](HANDLE, const void*, DWORD, DWORD* written) {
         *written = 0;
         SetLastError(ERROR_DISK_FULL);
         return FALSE;
       }},
  };
  packager::PayloadBuilder payload;
  for (const Case& c : cases) payload.AddRaw(c.name, B("sixteen bytes!!!"));
  auto& installer = Make(payload);
  for (const Case& c : cases) {
    platform::writeHook = c.hook;
    bool extracted = installer.ExtractItem(c.name, 0);
    platform::writeHook = nullptr;
    EXPECT_FALSE(extracted) << c.name;
    EXPECT_FALSE(testing_support::FileExists(work_ + "\\" + c.name)) << c.name;
  }
  EXPECT_TRUE(installer.Files().empty());
}

TEST_F(ExtractItemTest, MissingOrNullName_FalseAndNoFile) {
  auto& installer = Make(packager::PayloadBuilder());
  EXPECT_FALSE(installer.ExtractItem(nullptr, 0));
  EXPECT_FALSE(installer.ExtractItem("nothing.txt", 0));
  EXPECT_FALSE(testing_support::FileExists(work_ + "\\nothing.txt"));
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ExtractItemTest, DamagedOrShortZlib_ErrorDecompressAndNoFile) {
  packager::PayloadBuilder payload;
  Bytes damaged = packager::ZlibPack(B("some text to pack"));
  damaged[4] ^= 0xFF;
  packager::PutU32(damaged, 17);
  payload.AddRaw("damaged.bin", damaged);
  payload.AddRaw("short.bin", Bytes{1, 2, 3});
  // Trailers that claim more than the stream holds: beyond what can be
  // allocated, or just one byte more.
  Bytes huge = packager::ZlibPack(B("x"));
  packager::PutU32(huge, 0xFFFFFFF0u);
  payload.AddRaw("huge.bin", huge);
  Bytes longer = packager::ZlibPack(B("xy"));
  packager::PutU32(longer, 3);
  payload.AddRaw("longer.bin", longer);
  auto& installer = Make(payload);
  for (const char* name : {"damaged.bin", "short.bin", "huge.bin", "longer.bin"}) {
    messages_.Clear();
    EXPECT_FALSE(installer.ExtractItem(name, 1)) << name;
    // Told once, where the flow reports its failure: the box, then the file.
    EXPECT_TRUE(messages_.Texts().empty()) << name;
    installer.ReportFailure();
    ASSERT_EQ(2u, messages_.Texts().size()) << name;
    EXPECT_EQ("Error decompress", messages_.Texts()[0]) << name;
    EXPECT_EQ("Error", messages_.Messages().at(0).caption);
    EXPECT_NE(std::string::npos, messages_.Texts()[1].find(name)) << messages_.Texts()[1];
    EXPECT_FALSE(testing_support::FileExists(work_ + "\\" + name)) << name;
  }
  EXPECT_TRUE(installer.Files().empty());
}

TEST_F(ExtractItemTest, NamesLeavingTheWorkingFolder_RefusedAndNothingWritten) {
  packager::PayloadBuilder payload;
  const char* names[] = {"..\\escape.txt", "a/../../escape.txt", "C:\\escape.txt", "x.txt:stream", "sub\\.."};
  for (const char* name : names) payload.AddRaw(name, B("bad"));
  payload.AddRaw("..name.txt", B("fine"));
  auto& installer = Make(payload);
  for (const char* name : names) EXPECT_FALSE(installer.ExtractItem(name, 0)) << name;
  EXPECT_FALSE(testing_support::FileExists(dir_.File("escape.txt")));
  EXPECT_TRUE(installer.Folders().empty());
  // Dots that are part of a name are no component of their own.
  EXPECT_TRUE(installer.ExtractItem("..name.txt", 0));
}

TEST_F(ExtractItemTest, DamagedStoredFile_CrcMessageAndNotWritten) {
  packager::PayloadBuilder payload;
  payload.AddRaw("Scene.VDL", B("scene bytes"));
  Make(payload);
  installer_.reset();
  std::string image = ReadFileBytes(dir_.File("payload.exe"));
  size_t at = image.find("scene bytes");
  ASSERT_NE(std::string::npos, at);
  image[at] = 'S';
  ASSERT_TRUE(testing_support::WriteFileBytes(dir_.File("payload.exe"), image.data(), image.size()));
  testing_support::TestInstaller installer(dir_.File("payload.exe"));
  installer.SetWorkFolder(work_);
  messages_.Clear();
  EXPECT_FALSE(installer.ExtractItem("scene.vdl", 0));
  ASSERT_EQ(1u, messages_.Messages().size());
  EXPECT_EQ("Crc error corrupt file", messages_.Messages()[0].text);
  EXPECT_EQ("Scene.VDL", messages_.Messages()[0].caption);
  EXPECT_FALSE(testing_support::FileExists(work_ + "\\scene.vdl"));
}

TEST_F(ExtractItemTest, TargetPathTooLong_RefusedNotCut) {
  packager::PayloadBuilder payload;
  // A working folder of 150 characters leaves room for item names that fit
  // the payload's 259-character names. Each name leads through a folder of
  // its own, which is made only when the whole target path was taken.
  const size_t work = 150;
  std::string over = "over\\" + std::string(400 - work - 1 - 5, 'n');
  std::string fits = "fits\\" + std::string(399 - work - 1 - 5, 'n');
  payload.AddRaw(over, B("x"));
  payload.AddRaw(fits, B("x"));
  auto& installer = Make(payload);
  std::string longWork = work_ + "\\" + std::string(work - work_.size() - 1, 'w');
  ASSERT_TRUE(CreateDirectoryA(longWork.c_str(), nullptr));
  installer.SetWorkFolder(longWork);
  ASSERT_EQ(400u, (longWork + "\\" + over).size());
  EXPECT_FALSE(installer.ExtractItem(over.c_str(), 0));
  EXPECT_TRUE(installer.Folders().empty());
  EXPECT_FALSE(testing_support::FileExists(longWork + "\\over"));
  EXPECT_EQ(0u, installer.ItemSize());

  // 399 characters fit exactly and are taken whole: the folder on the way is
  // made and the item found under its whole name. Whether the file system
  // then takes so long a path is its own affair (Wine's ANSI calls stop at
  // 260 characters); a file written is recorded under the whole path.
  std::string target = longWork + "\\" + fits;
  ASSERT_EQ(399u, target.size());
  bool written = installer.ExtractItem(fits.c_str(), 0);
  EXPECT_EQ(std::vector<std::string>{longWork + "\\fits\\"}, installer.Folders());
  EXPECT_EQ(1u, installer.ItemSize());
  EXPECT_EQ(written ? std::vector<std::string>{target} : std::vector<std::string>{}, installer.Files());
}

TEST_F(ExtractItemTest, WithLoaderChannel_EngineFormatDecodedThroughTheEngine) {
  packager::PayloadBuilder payload;
  payload.AddRaw("scene.vdl", packager::EngineEncode(B("decoded scene")));
  payload.AddRaw("plain.bin", B("no tag here"));
  payload.AddRaw("stored.vdl", packager::EngineEncode(B("kept")));
  auto& installer = Make(payload);
  testing_support::EngineLog log(dir_.Path());
  StartEngine();
  ASSERT_TRUE(installer.ExtractItem("scene.vdl", 1));
  EXPECT_EQ("decoded scene", ReadFileBytes(work_ + "\\scene.vdl"));
  EXPECT_EQ(nullptr, installer.ItemData());
  EXPECT_EQ(1u, log.LinesStartingWith("Process").size());

  // No tag: the loader's output as loaded, without Process.
  ASSERT_TRUE(installer.ExtractItem("plain.bin", 1));
  EXPECT_EQ("no tag here", ReadFileBytes(work_ + "\\plain.bin"));
  EXPECT_EQ(1u, log.LinesStartingWith("Process").size());
  EXPECT_EQ("CheckTag MRVF -> 0", log.LinesStartingWith("CheckTag").back());

  // Decode flag 0: the engine is not asked at all.
  size_t calls = log.Lines().size();
  ASSERT_TRUE(installer.ExtractItem("stored.vdl", 0));
  EXPECT_EQ(calls, log.Lines().size());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(packager::EngineEncode(B("kept")).data()), 
                        packager::EngineEncode(B("kept")).size()),
            ReadFileBytes(work_ + "\\stored.vdl"));
}

// A killed installation leaves its new copy beside the earlier one; the next
// run removes it and leaves nothing beside the file, never touching a file of
// the user's. Where no name beside fits, the earlier copy is never opened in
// place (which would empty it): the file is refused and the earlier copy kept,
// even by a write that would have failed.
TEST_F(ExtractItemTest, EarlierCopies_StaleNewCopyRemovedUsersFilesKeptNeverEmptied) {
  packager::PayloadBuilder payload;
  payload.AddRaw("f.txt", B("new"));
  // As long as a path can be: no name beside it fits.
  const std::string deep = std::string(259 - dir_.File("work").size() - 7, 'd');
  payload.AddRaw(deep + "\\g.txt", B("new"));
  auto& installer = Make(payload);
  ASSERT_TRUE(testing_support::WriteFileBytes(work_ + "\\f.txt", "earlier", 7));
  ASSERT_TRUE(testing_support::WriteFileBytes(work_ + "\\f.txt" + platform::kBesideSuffix, "half", 4));
  ASSERT_TRUE(testing_support::WriteFileBytes(work_ + "\\f.txt~", "the user's", 10));
  ASSERT_TRUE(testing_support::WriteFileBytes(work_ + "\\f.txt~1", "the user's too", 14));
  ASSERT_TRUE(installer.ExtractItem("f.txt", 0));
  EXPECT_EQ("new", ReadFileBytes(work_ + "\\f.txt"));
  EXPECT_EQ("the user's", ReadFileBytes(work_ + "\\f.txt~"));
  EXPECT_EQ("the user's too", ReadFileBytes(work_ + "\\f.txt~1"));
  EXPECT_EQ((std::set<std::string>{"f.txt", "f.txt~", "f.txt~1"}), testing_support::NamesBelow(work_));

  std::string nested = work_ + "\\" + deep;
  ASSERT_TRUE(CreateDirectoryA(nested.c_str(), nullptr));
  ASSERT_EQ(259u, (nested + "\\g.txt").size());
  ASSERT_TRUE(testing_support::WriteFileBytes(nested + "\\g.txt", "earlier", 7));
  platform::writeHook = [](HANDLE, const void*, DWORD, DWORD* written) {
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
  };
  bool extracted = installer.ExtractItem((deep + "\\g.txt").c_str(), 0);
  platform::writeHook = nullptr;
  EXPECT_FALSE(extracted);
  EXPECT_EQ("earlier", ReadFileBytes(nested + "\\g.txt"));
  EXPECT_EQ(std::set<std::string>{"g.txt"}, testing_support::NamesBelow(nested));
  EXPECT_EQ(installer::FailureKind::kCopyFailure, installer.LastFailure().what);
  EXPECT_NE(0u, installer.LastFailure().error);
}

// The engine's items are read whole, a megabyte at a time: every piece must
// land after the one before. Stored sizes over a megabyte that are not whole
// megabytes, too.
TEST_F(ExtractItemTest, EngineItemsOverAMegabyte_ReadAndWrittenWhole) {
  const size_t sizes[] = {(1u << 20) + 1, (5u << 19) + 12345, 3u << 20};
  packager::PayloadBuilder payload;
  for (size_t size : sizes) payload.AddRaw("big" + std::to_string(size) + ".vdl", packager::EngineEncode(Noise(size)));
  auto& installer = Make(payload);
  StartEngine();
  for (size_t size : sizes) {
    SCOPED_TRACE(size);
    std::string name = "big" + std::to_string(size) + ".vdl";
    ASSERT_TRUE(installer.ExtractItem(name.c_str(), 1));
    Bytes expected = Noise(size);
    EXPECT_TRUE(ReadFileBytes(work_ + "\\" + name) == std::string(expected.begin(), expected.end()));
  }
}

// What the system asks the progress window while one large file is written,
// asked from another thread as the system asks it.
struct QueryEnd {
  HWND window;
  DWORD_PTR answer;
  HANDLE thread;
};

unsigned __stdcall AskToEndSession(void* context) {
  auto* query = static_cast<QueryEnd*>(context);
  query->answer = 1;
  SendMessageTimeoutA(query->window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &query->answer);
  return 0;
}

QueryEnd g_query;
int g_piece;
bool g_answeredWhileWriting;

// One large file: the progress window answers between its pieces, so a
// logoff asked in the middle is refused at once, not after the file.
TEST_F(ExtractItemTest, LargeFile_ProgressWindowAnswersLogoffBetweenPieces) {
  packager::PayloadBuilder payload;
  payload.AddRaw("large.bin", Noise((6u << 20) + 3));
  auto& installer = Make(payload);
  auto* progress = new ui::ProgressWindow;
  progress->Create(GetModuleHandleA(nullptr), testing_support::HostWindow());
  ASSERT_NE(nullptr, progress->Window());
  installer.SetProgressWindow(progress);
  platform::BlockShutdown(testing_support::HostWindow());
  g_query = {progress->Window(), 1, nullptr};
  g_piece = 0;
  g_answeredWhileWriting = false;
  platform::writeHook = [](HANDLE file, const void* bytes, DWORD count, DWORD* written) {
    ++g_piece;
    if (g_piece == 2) {
      g_query.thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, AskToEndSession, &g_query, 0, nullptr));
      // Until the question waits for this thread.
      for (int i = 0; i < 500 && (GetQueueStatus(QS_SENDMESSAGE) & QS_SENDMESSAGE) == 0; ++i) Sleep(10);
    }
    if (g_piece == 5) g_answeredWhileWriting = WaitForSingleObject(g_query.thread, 3000) == WAIT_OBJECT_0;
    return WriteFile(file, bytes, count, written, nullptr);
  };
  bool extracted = installer.ExtractItem("large.bin", 0);
  platform::writeHook = nullptr;
  // Whatever happened, the asking thread is let go before the test ends.
  while (g_query.thread != nullptr && MsgWaitForMultipleObjects(1, &g_query.thread, FALSE, 10000, QS_ALLINPUT) != WAIT_OBJECT_0) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  if (g_query.thread != nullptr) CloseHandle(g_query.thread);
  platform::AllowShutdown();
  EXPECT_TRUE(extracted);
  EXPECT_EQ(7, g_piece);
  EXPECT_TRUE(g_answeredWhileWriting);
  EXPECT_EQ(0u, g_query.answer);
}

}  // namespace
