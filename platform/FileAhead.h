#pragma once
// The next file of a folder created on a thread of its own while the
// installation writes the one before. Under Wine every new name costs a read
// of the whole folder (Windows names are matched without regard to case), so
// that with thousands of files the creating is most of the time; two threads
// share it between the machine's cores. One file at a time, asked for and
// taken by one thread, the installation's.
#include <windows.h>

namespace platform {

// Starts creating the file at path, only where nothing is there yet (as
// OutputFile opens a new file), beside the caller; a file asked for before
// and not taken is dropped first. Nothing is started when the thread or its
// events cannot be had or the path does not fit: the file is then opened
// when it is written, as it would be without this.
void CreateAhead(const char* path);
// The file made at path, open for writing, waited for; the caller owns it.
// INVALID_HANDLE_VALUE when path is not the one asked for (nothing waited
// for, the one asked for stays) or the file could not be made there (an
// earlier copy is there): the caller opens it itself and learns why.
HANDLE TakeCreated(const char* path);
// Waits for a file asked for and not taken and deletes it: a run that stops
// leaves no empty file it never wrote. True when there was one.
bool DropCreated();

}  // namespace platform
