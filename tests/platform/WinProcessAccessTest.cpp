// While a password is in memory, no program of the user may read the
// process's memory or attach to it: the access list says so.
#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>

#include "platform/Secrets.h"

namespace iex {
namespace {

TEST(WinProcessAccess, APasswordInMemoryClosesTheProcessToReadersAndDebuggers) {
  TNoCoreDumps guard;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(GetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                            nullptr, &descriptor),
            ERROR_SUCCESS);
  ASSERT_NE(dacl, nullptr) << "no access list: everyone may do anything";
  constexpr DWORD kForbidden = PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_VM_OPERATION | PROCESS_CREATE_THREAD |
                               PROCESS_DUP_HANDLE | WRITE_DAC | WRITE_OWNER;
  EXPECT_GT(dacl->AceCount, 0);
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    ACE_HEADER* ace = nullptr;
    ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
    if (ace->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    EXPECT_EQ(reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace)->Mask & kForbidden, 0u) << "entry " << i;
  }
  LocalFree(descriptor);
}

}  // namespace
}  // namespace iex
