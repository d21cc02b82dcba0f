#pragma once
#include <stdint.h>
#include <windows.h>

#include "engine/EngineInterface.h"
#include "installer/ExitCode.h"
#include "installer/Failure.h"
#include "installer/ItemCursor.h"
#include "installer/Unattended.h"
#include "payload/PayloadReader.h"
#include "payload/PointerList.h"
#include "payload/ProjectTypes.h"
#include "payload/SpaceNeeded.h"
#include "platform/FileWrite.h"
#include "platform/Registry.h"
#include "ui/OptionsDialog.h"
#include "ui/ProgressWindow.h"

namespace platform {
class PathSet;
}

namespace installer {

// Working folder and extraction target storage.
constexpr uint32_t kWorkFolderSize = payload::kTargetPathSize;
// Every other path (engine DLL, shortcuts, copies, registry data).
constexpr uint32_t kPathSize = payload::kPathSize;
// Text settings and the record files' text fields.
constexpr uint32_t kTextFieldSize = payload::kTextSettingSize;
constexpr uint32_t kGivenFolderSize = 2 * kPathSize;

// One setting a flow reads into its own buffer, at the setting's width.
struct SettingRead {
  const payload::Setting& setting;
  void* buffer;
};

// One list of the payload as it is walked.
struct ListWalk {
  const char* prefix;
  const char* type;
  double base;
  bool report;
  int32_t count;
};


// Carries one run of the stub: its own payload reader, the working folder,
// the current item, the engine objects, what was created, and the progress
// window. Flows and steps call one another through the object, so that each
// step can be replaced on its own.
class Installer {
 public:
  // Takes ownership of the reader the run reads its items from: the
  // application's reads the program itself, a test's a payload it wrote.
  // Null, when none could be made, fails every read.
  explicit Installer(payload::PayloadReader* payloadReader);
  virtual ~Installer();
  Installer(const Installer&) = delete;
  Installer& operator=(const Installer&) = delete;

  virtual void SetHost(HINSTANCE instance, HWND parentWindow);
  // From the command line, as read there.
  void SetUnattended(const Unattended& options) { unattended = options; }
  // An installer made for another code page than the system's: every name
  // and text setting must have the same letters in the system's, or nothing
  // is written. False after the report.
  bool FitsSystemCodePage();
  // Why a flow that returned false ended: failed, cancelled, or lacking.
  uint32_t ExitCode() const { return exitCode; }
  // The exit code of a flow that ran to its end: a failure it reported on
  // the way (a registry key that could not be written) still ends with 1,
  // so that a script does not take an incomplete installation for done.
  uint32_t DoneCode() const { return reportedOnTheWay ? kExitFailed : kExitDone; }
  // After a flow that failed or was cancelled on the way: removes what the
  // installation made where nothing was (files, links, folders), each
  // logged; nothing once the installation was complete.
  void UndoRun();
  virtual bool CreateTempWorkDir();
  virtual bool ReadItem(const char* name, void* buffer, int32_t size, const char* type);
  virtual bool RunInPlaceFlow();
  virtual bool ExtractEngineFiles();
  // In a list, an item the payload lacks is passed over: true. *empty (where
  // given) tells a false for an item of no bytes from the others.
  virtual bool ExtractItem(const char* name, uint8_t decode, bool* empty = nullptr);
  virtual bool StartEngine();
  virtual bool ExtractChannels();
  virtual bool ExtractProjectFiles();
  // False when the viewer could not be started (reported).
  virtual bool RunViewer(uint8_t wait);
  virtual void RemoveExtractedFiles();
  virtual bool HasDirectX81();
  virtual uint32_t DetectDirectXVersion();
  virtual bool InstallStandaloneFlow();
  virtual void CreateShortcut(const char* target, const char* link, const char* description, const char* arguments);
  virtual void WriteViewerRegistryKey();
  virtual void WriteUninstallRegistryKey();
  virtual bool InstallScreenSaverFlow();
  // False, noted for ReportFailure, when the saver is not in place.
  virtual bool CopyScreenSaverToSystem();
  virtual bool InstallWinampPluginFlow();

  // The flows' fixed point after the project files: the configuration file of
  // the kind and the uninstall record, through one saver channel. False when
  // a screen-saver setting is missing (reported) or the uninstall record
  // could not be written (noted for ReportFailure).
  // The record files in the shape of the project type's (payload::RecordOf).
  bool WriteRecordFiles(const payload::RecordShape& shape, const char* projectName);
  // Loader channel, control object, DLL: the order the engine needs.
  void ReleaseEngine();
  // Once the engine runs: the channel that decodes the engine's files.
  bool CreateLoaderChannel();

  // Read access for the tests.
  const char* WorkFolder() const { return workFolder; }
  const uint8_t* ItemData() const { return itemData; }
  uint32_t ItemSize() const { return itemSize; }
  const payload::PointerList& CreatedFiles() const { return createdFiles; }
  const payload::PointerList& CreatedFolders() const { return createdFolders; }
  const Failure& LastFailure() const { return failure; }

  // Where the flow that failed is left: what failed, which file, and the
  // system's reason, as noted where it failed; nothing when nothing was.
  void ReportFailure();

 protected:
  // A heap copy of path at the end of the list, logged as made or (isNew
  // false) as replacing an earlier copy; a copy that cannot be made is left
  // out rather than recorded as null.
  static bool Record(payload::PointerList& list, const char* path, bool isNew = true);
  // The heap copy alone, without a log line; false when it cannot be made.
  static bool PushCopy(payload::PointerList& list, const char* path);
  // A file written and recorded; isNew when no earlier copy was there, so
  // that a failed run removes it again. False (noted) when it could not be
  // remembered.
  bool RecordFile(const char* path, bool isNew);
  // Remembers a file this run made where there was none, for UndoRun.
  bool NoteNew(const char* path);

  HINSTANCE instance;
  HMODULE engineModule;  // freed by the flows in the engine's release order
  char workFolder[kWorkFolderSize];
  uint8_t* itemData;
  uint32_t itemSize;
  engine::EngineControl* engineControl;
  engine::ChannelServices* channelServices;
  engine::LoaderChannel* loaderChannel;
  HWND parentWindow;
  payload::PointerList createdFiles;
  payload::PointerList createdFolders;
  // The files of createdFiles that had no earlier copy (heap copies of
  // their own), which a failed run removes.
  payload::PointerList newFiles;
  ui::ProgressWindow* progressWindow;
  payload::PayloadReader* reader;

 private:
  bool ReadProjectName(char* name);
  void WriteKey(const char* keyPath, const platform::RegistryValue* values, int count);
  // A text setting the payload may leave out: false, without a word, when
  // it is not there.
  bool ReadOptionalText(const payload::Setting& setting, char* text);
  // A setting at its width; false, the missing item noted, when it is not
  // there. The one way settings are read.
  bool ReadSetting(const payload::Setting& setting, void* buffer);
  // Reads each in order; the first one missing is reported and ends it.
  bool ReadSettings(const SettingRead* reads, int count);
  // The installation folder: the one given on the command line (where the
  // flow takes it) or the payload's, confirmed in the options dialog unless
  // silent; then the progress window.
  bool AcceptOptions(const char* projectName, const char* initialPath, bool takesGivenFolder);
  // The folder the dialog or the command line gives; false when refused or
  // cancelled (told) or the dialog could not be shown (noted).
  bool ChooseFolder(ui::OptionsDialog& dialog, const char* projectName, const char* initialPath,
                    const wchar_t* typed, const char** chosen);
  // What the payload says the installation writes there, in bytes; 0 for
  // an installer that does not say.
  uint64_t SpaceNeeded(payload::SpacePart part);
  // Whether the volume of folder has needed bytes free. Short of them: the
  // message shortOf (Retry and Cancel), *retry set where the user chose
  // Retry; Cancel ends the run as cancelled; silent, noted for the report.
  bool HasRoom(const char* folder, uint64_t needed, messages::Id shortOf, bool* retry);
  // The same, Retry asking the same folder again.
  bool HasRoomHere(const char* folder, uint64_t needed);
  bool SystemFolderHasRoom();
  // The publisher's licence, where the payload has one: true once accepted
  // (silent, taken as given); Cancel ends the run as cancelled.
  bool AcceptLicence();
  // The folder given on the command line in the code page, in
  // kGivenFolderSize bytes, room for one longer than any path, so that the
  // refusals name it rather than cut it; false when it has no exact form
  // there.
  bool GivenFolder(char* folder);
  // A project that checks for DirectX 8.1 where the system has none: the
  // flow's warning, or, silent, the end of the run as the machine lacks it.
  bool WarnWithoutDirectX(messages::Id warning, const char* projectName);
  bool ExtractViewer();
  bool ExtractContent();
  void FinishInstallation(const char* projectName, bool viewerKey);
  bool FindPlayerFolder(uint8_t winamp3, const char* projectName, char* folder);
  bool CopyPlugin(const char* player, uint8_t winamp3, const char* projectName);
  bool CreateStartMenuEntries(const char* shortcutName);
  bool InstallStandaloneContent(const char* shortcutName, const char* projectName, bool* linksMade);
  // The item blocks, given back before a long wait: the run in place keeps
  // its process while the viewer runs.
  void ReleaseItemMemory();
  // StartEngine, with a message naming what failed when it does.
  bool StartEngineOrReport();
  void SetProgressIfOpen(float fraction);
  // Between items that move no bar: the progress window goes on answering.
  void KeepWindowsAnswering();
  // The engine's output for a stored block of its format; the loader
  // channel takes the block, so itemData no longer names it.
  void Decode(const uint8_t* stored, uint32_t storedSize, const uint8_t** bytes, uint32_t* count);
  // A stored or zlib item written as it is read, a piece at a time; entry
  // is the item found by name, null when it is not there. *error is the
  // file's, for kNotWritten.
  Extracted ExtractStreamed(const payload::PayloadEntry* entry, const char* target, bool inflate, DWORD* error);
  // Notes why item name could not be written to target; nothing for
  // kWritten and kNoted.
  void NoteExtracted(Extracted why, const char* name, const char* target, DWORD error);
  // An item by name and type (the default when null); null when it or the
  // reader is not there.
  const payload::PayloadEntry* Item(const char* name, const char* type = nullptr) const;
  // ReadItem for an item found before.
  bool ReadFound(const payload::PayloadEntry* entry, void* buffer, int32_t size);
  // Notes why a step failed, for ReportFailure; the name is copied.
  void NoteFailure(FailureKind what, const char* name, DWORD error);
  void NoteFailureWide(FailureKind what, const wchar_t* name, DWORD error);
  // A step that stops the flow with a message of no name: noted; false.
  bool Stop(FailureKind what);
  // A step that stops the flow after telling why itself (the dialog's
  // refusals), or where the user chose to (No, Cancel): nothing is left to
  // report; false.
  bool Told();
  // The failure just noted, told now while the installation goes on, which
  // it leaves incomplete (a registry key): the run ends with 1.
  void TellNow();
  // A folder the system named that has no form the installer can use, told
  // now; the step goes on without it.
  void TellUnusableFolder(const wchar_t* folder);
  // Notes why a read of the named item failed, from the reader as it is
  // right after the read: the installer unreadable, no memory, damage or
  // an item that is not there (the file it was to be written to, named).
  void NoteReadFailure(const char* name, const char* file);
  // A file written through the whole-or-nothing output, the progress
  // window answering between its pieces; each notes its failure.
  bool OpenOutput(platform::OutputFile& file, const char* target);
  bool WriteOutput(platform::OutputFile& file, const char* target, const void* bytes, uint32_t count);
  bool KeepOutput(platform::OutputFile& file, const char* target);
  // A module the flows place outside the installation folder (the screen
  // saver, the plug-in), written from its item as every extracted file is:
  // whole beside the earlier one, then put in its place, and recorded. False
  // (noted) when it could not be, the earlier one as it was; a file that
  // could not be written is noted as copyFailure, the flow's own words.
  bool CopyModule(const char* item, const char* target, FailureKind copyFailure);
  static void AnswerBetweenPieces(void* self);
  // After a write, replacement or deletion of target failed with error:
  // true when it is worth another try, the file being held by another
  // program (a few quiet tries, then, with windows, the user's Retry).
  // False with the failure noted: the copy failure, or, when the user
  // chose Cancel, a cancel that has nothing more to say.
  bool WaitWhileHeld(const char* target, DWORD error, int* tries);
  // Where item name is written, into target (kWorkFolderSize bytes): 0, or
  // why not (ERROR_INVALID_NAME for a name that would leave the folder or
  // that Windows refuses, ERROR_FILENAME_EXCED_RANGE for one too long or
  // without a form in the system's code page).
  DWORD TargetPath(const char* name, char* target) const;
  void CreateMissingFolders(const char* target);
  bool WriteAndRecord(const char* target, const uint8_t* bytes, uint32_t count);
  bool ExtractList(const payload::ListInfo& list, double base, bool report);
  // Entry index of the list; next is the entry after it (-1: none), whose
  // file may be made ahead.
  bool ExtractListEntry(const ListWalk& walk, int32_t index, int32_t next);
  bool ExtractPresentEntries(const ListWalk& walk);
  // Entry next's file, made beside the current one's writing
  // (platform/FileAhead.h).
  void CreateNextAhead(const ListWalk& walk, int32_t next);
  bool WriteConfiguration(engine::SaverChannel* saver, const payload::RecordShape& shape, const char* path);
  bool WriteScreenSaverFlags(engine::SaverChannel* saver);
  // A name or text of the payload in the system's code page, into out (size
  // bytes); as it is where both pages are one. False when the system's page
  // lacks a letter of it or it does not fit.
  bool ToSystemCodePage(const char* payloadText, char* out, int size) const;
  // The folder of an earlier installation of the project, from its
  // uninstall entry; false when there is none.
  bool EarlierFolder(const char* projectName, char* folder);
  // Before the uninstall record: what the list beside an earlier record
  // names that is still there, in this installation's own places, joins
  // this run's lists; path is the list, configuration the flow's
  // configuration file (null: none). False (noted) when the earlier list is
  // there and cannot be read whole, or memory runs out.
  bool MergeEarlierList(const char* path, const char* configuration);
  bool KeepEarlierEntries(char* list, platform::PathSet& files);
  static bool AddAll(platform::PathSet& set, const payload::PointerList& list);
  // The joined lists written as the list beside the record, at path. False
  // (noted) when it cannot be written.
  bool WriteEntryList(const char* path);
  // A text setting as read (kTextFieldSize + 1 bytes) in the system's code
  // page, in place.
  void TextInSystemCodePage(char* text);
  const char* ForeignText(const payload::PayloadEntry* entry, char* value);
  bool WriteUninstallRecord(engine::SaverChannel* saver, const payload::RecordShape& shape, const char* projectName,
                            const char* path);

  // The folder below the Programs folder that holds the project's links
  // alone, empty when the links are in the Programs folder itself or were
  // not made: an earlier run's entry below it is the installation's own.
  char menuFolder[kPathSize];
  // The earlier runs' folders that the record keeps: never this run's to
  // remove when it fails.
  payload::PointerList keptFolders;
  ItemCursor cursor;
  Failure failure;
  Unattended unattended;
  uint32_t exitCode;
  bool reportedOnTheWay;
  // From the accepted options on, an installation is under way; it is
  // complete once its record and registry entries are written.
  bool installing;
  bool completed;
  // The uninstall entry's icon is the viewer's, where it was installed.
  bool viewerInstalled;
  // The bytes of the files the installation kept.
  uint64_t bytesWritten;
  // The code page the payload's names were written in where it differs from
  // the system's; 0 where they are one, or the payload does not say.
  uint32_t payloadCodePage;
};

}  // namespace installer
