// Package extraction against its floor: ExtractedPackage writes this
// program's package resource (64 MiB) into a fresh folder of its own in the
// temp folder; CopyFileW copies a file that holds the same bytes, in the
// temp folder. After one warm-up of
// each, every round runs both, in turns, and prints
//   figure extract <ms>    figure copy <ms>
// Usage: extract_bench.exe [rounds]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "installer/package_extraction.h"
#include "platform/win32/win32_package_file.h"
#include "res/resource_bytes.h"

namespace {

double NowMs() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool WriteWhole(const std::wstring& path, const std::uint8_t* bytes, std::size_t size) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
  return CloseHandle(file) && ok;
}

// Time of one extraction; what it made is removed. Negative on failure.
double Extract(Win32PackageFile& files) {
  ExtractedPackage package(files);
  const double start = NowMs();
  const bool ok = package.Extract().Succeeded();
  const double took = NowMs() - start;
  return ok && package.Release().Succeeded() ? took : -1;
}

double Copy(const std::wstring& from, const std::wstring& to) {
  const double start = NowMs();
  const bool ok = CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
  const double took = NowMs() - start;
  DeleteFileW(to.c_str());
  return ok ? took : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
  Win32PackageFile files;
  const ResourceBytes package = LoadResourceBytes(GetModuleHandleW(nullptr), IDR_PACKAGE_MSI, L"" RESOURCE_TYPE_MSI);
  const std::uint8_t* bytes = package.bytes;
  const std::size_t size = package.size;
  if (bytes == nullptr) {
    std::printf("extract_bench: no package resource\n");
    return 1;
  }
  wchar_t folder[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return 1;
  const std::wstring source = std::wstring(folder) + L"extract-bench-source.bin";
  const std::wstring copy = std::wstring(folder) + L"extract-bench-copy.bin";
  if (!WriteWhole(source, bytes, size)) {
    std::printf("extract_bench: cannot write %ls\n", source.c_str());
    return 1;
  }
  std::printf("bytes %zu\n", size);
  int status = 0;
  for (int round = -1; round < rounds; ++round) {
    double extract = 0, copied = 0;
    // Turns, so that neither always runs on the cache the other warmed.
    if (round % 2 == 0) {
      extract = Extract(files);
      copied = Copy(source, copy);
    } else {
      copied = Copy(source, copy);
      extract = Extract(files);
    }
    if (extract < 0 || copied < 0) {
      std::printf("extract_bench: a round failed\n");
      status = 1;
      break;
    }
    if (round < 0) continue;  // warm-up
    std::printf("figure extract %.3f\nfigure copy %.3f\n", extract, copied);
  }
  DeleteFileW(source.c_str());
  return status;
}
