// The floor an installer's writes stand on, under the same Wine and disk:
// COUNT files of SIZE bytes written into FOLDER (which must not exist yet)
// with nothing else done, either at their names (bare: create, write,
// close) or beside them and renamed over them (beside), as a replacement
// that keeps the earlier copy whole until the new one is does.
//   file_loop.exe bare|beside FOLDER COUNT SIZE
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

namespace {

// The stub's piece: Linux under Wine is slow to take one call of many
// megabytes.
constexpr DWORD kPiece = 1u << 20;

bool WriteFileWhole(HANDLE file, const char* bytes, unsigned long long size) {
  while (size > 0) {
    DWORD piece = size < kPiece ? static_cast<DWORD>(size) : kPiece;
    DWORD written = 0;
    if (!WriteFile(file, bytes, piece, &written, nullptr) || written != piece) return false;
    size -= piece;
  }
  return true;
}

bool WriteOne(const char* name, bool beside, const char* bytes, unsigned long long size) {
  char written[MAX_PATH];
  if (snprintf(written, sizeof written, beside ? "%s~vdlnew" : "%s", name) >= static_cast<int>(sizeof written)) {
    return false;
  }
  HANDLE file = CreateFileA(written, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool whole = WriteFileWhole(file, bytes, size);
  CloseHandle(file);
  return whole && (!beside || MoveFileExA(written, name, MOVEFILE_REPLACE_EXISTING));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 || (strcmp(argv[1], "bare") != 0 && strcmp(argv[1], "beside") != 0)) {
    fprintf(stderr, "usage: file_loop bare|beside FOLDER COUNT SIZE\n");
    return 2;
  }
  bool beside = strcmp(argv[1], "beside") == 0;
  long count = strtol(argv[3], nullptr, 10);
  unsigned long long size = strtoull(argv[4], nullptr, 10);
  char* bytes = static_cast<char*>(malloc(kPiece));
  if (bytes == nullptr || !CreateDirectoryA(argv[2], nullptr)) return 1;
  for (DWORD i = 0; i < kPiece; ++i) bytes[i] = static_cast<char>('a' + i % 23);
  for (long i = 0; i < count; ++i) {
    char name[MAX_PATH];
    if (snprintf(name, sizeof name, "%s\\f%05ld.vdl", argv[2], i) >= static_cast<int>(sizeof name) ||
        !WriteOne(name, beside, bytes, size)) {
      fprintf(stderr, "file_loop: file %ld failed (%lu)\n", i, GetLastError());
      return 1;
    }
  }
  free(bytes);
  return 0;
}
