#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/AnsiText.h"
#include "platform/Error.h"

namespace iex {

std::string EFileError::Cause(int error) {
  switch (error) {
    case ENOSPC: return "The disk is full.";
#ifdef EDQUOT
    case EDQUOT: return "The disk quota is used up.";
#endif
    case EACCES:
    case EPERM: return "Permission denied.";
    case EROFS: return "The file system is read-only.";
    case ENOENT: return "The folder does not exist.";
    case ELOOP: return "The name is a symbolic link, which is not followed.";
    case EEXIST: return "A file of that name is in the way.";
    case EISDIR: return "A folder of that name is in the way.";
    case EIO: return "Input/output error on the disk.";
    case EBUSY: return "The file is open in another program.";
    default: return std::string(std::strerror(error)) + ".";
  }
}

EFileError::EFileError(int error, const std::string& path, std::string detail)
    : EMvError(Cause(error) + " (" + ShownPath(path) + ")" + (detail.empty() ? "" : " " + detail)),
      error_(error),
      path_(path),
      detail_(std::move(detail)) {}

}  // namespace iex
