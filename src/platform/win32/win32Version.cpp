// What the system says of its version, for the operating-system description.
#include <windows.h>

#include <string>

#include "platform/win32/win32Platform.h"

namespace brimlow::platform {

namespace {

using NativeInfoFunction = void(WINAPI*)(SYSTEM_INFO* info);

bool processorIsX86() {
  SYSTEM_INFO info{};
  // The native architecture where the system can tell it (a 32-bit program
  // on 64-bit Windows sees x86 otherwise).
  const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  const auto native = kernel == nullptr
                          ? nullptr
                          : reinterpret_cast<NativeInfoFunction>(reinterpret_cast<void (*)()>(
                                ::GetProcAddress(kernel, "GetNativeSystemInfo")));
  if (native != nullptr) {
    native(&info);
  } else {
    ::GetSystemInfo(&info);
  }
  return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_INTEL;
}

// The product version of kernel32.dll from its version resource; 0.0 when
// it cannot be read.
void kernelProductVersion(OsVersionInfo& info) {
  const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  std::string path(MAX_PATH, '\0');
  const DWORD length = kernel == nullptr ? 0 : ::GetModuleFileNameA(kernel, path.data(), MAX_PATH);
  path.resize(length == 0 || length >= MAX_PATH ? 0 : length);
  if (path.empty()) path = "kernel32.dll";
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return;
  std::string data(size, '\0');
  if (!::GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
      fixed == nullptr || fixedSize < sizeof(VS_FIXEDFILEINFO))
    return;
  info.kernel32Major = HIWORD(fixed->dwProductVersionMS);
  info.kernel32Minor = LOWORD(fixed->dwProductVersionMS);
}

}  // namespace

OsVersionInfo Win32Platform::osVersion() {
  OsVersionInfo info;
  OSVERSIONINFOEXA extended{};
  extended.dwOSVersionInfoSize = sizeof extended;
  // The extended form first; systems that predate it answer the short one.
  if (::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended))) {
    info.hasExtendedInfo = true;
    info.servicePackMajor = extended.wServicePackMajor;
    info.productType = extended.wProductType;
  } else {
    extended = {};
    extended.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended))) return info;
  }
  info.platformId = extended.dwPlatformId;
  info.majorVersion = extended.dwMajorVersion;
  info.minorVersion = extended.dwMinorVersion;
  size_t length = 0;
  while (length < sizeof extended.szCSDVersion && extended.szCSDVersion[length] != '\0')
    ++length;
  info.serviceText.assign(extended.szCSDVersion, length);
  info.nativeArchitectureIsX86 = processorIsX86();
  info.serverR2Metric = ::GetSystemMetrics(SM_SERVERR2);
  kernelProductVersion(info);
  return info;
}

}  // namespace brimlow::platform
