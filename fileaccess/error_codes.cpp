// System errors as the original platform's error codes.
#include "fileaccess/error_codes.h"

#include <cerrno>
#include <string>

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "fileaccess/pelcor.h"

namespace ombrix::fileaccess {

uint32_t CodeOfSystemError(std::errc error) {
  using E = std::errc;
  switch (int(error)) {
    case 0:
      return PELCOR_ERROR_NONE;
    case int(E::no_such_file_or_directory):
      return PELCOR_ERROR_FILE_NOT_FOUND;
    case int(E::not_a_directory):
      return PELCOR_ERROR_PATH_NOT_FOUND;
    case int(E::too_many_files_open):
    case int(E::too_many_files_open_in_system):
      return PELCOR_ERROR_TOO_MANY_OPEN_FILES;
    case int(E::permission_denied):
    case int(E::operation_not_permitted):
    case int(E::is_a_directory):
      return PELCOR_ERROR_ACCESS_DENIED;
    case int(E::bad_file_descriptor):
      return PELCOR_ERROR_INVALID_HANDLE;
    case int(E::not_enough_memory):
      return PELCOR_ERROR_NOT_ENOUGH_MEMORY;
    case int(E::cross_device_link):
      return PELCOR_ERROR_NOT_SAME_DEVICE;
    case int(E::read_only_file_system):
      return PELCOR_ERROR_WRITE_PROTECT;
    case int(E::no_such_device):
    case int(E::no_such_device_or_address):
      return PELCOR_ERROR_NOT_READY;
    // A program file being run cannot be written: the platform calls that sharing.
    case int(E::text_file_busy):
      return PELCOR_ERROR_SHARING_VIOLATION;
    case int(E::resource_unavailable_try_again):
      return PELCOR_ERROR_LOCK_VIOLATION;
    case int(E::operation_not_supported):
      return PELCOR_ERROR_NOT_SUPPORTED;
    case int(E::file_exists):
      return PELCOR_ERROR_FILE_EXISTS;
    case int(E::invalid_argument):
    case int(E::bad_address):
      return PELCOR_ERROR_INVALID_PARAMETER;
    case int(E::no_space_on_device):
    case EDQUOT:
      return PELCOR_ERROR_DISK_FULL;
    case int(E::invalid_seek):
      return PELCOR_ERROR_SEEK_ON_DEVICE;
    case int(E::directory_not_empty):
      return PELCOR_ERROR_DIR_NOT_EMPTY;
    case int(E::device_or_resource_busy):
      return PELCOR_ERROR_BUSY;
    case int(E::filename_too_long):
      return PELCOR_ERROR_FILENAME_TOO_LONG;
    case int(E::file_too_large):
    case int(E::value_too_large):
      return PELCOR_ERROR_FILE_TOO_LARGE;
    case int(E::too_many_symbolic_link_levels):
      return PELCOR_ERROR_CANT_RESOLVE_FILENAME;
    default:
      return PELCOR_ERROR_GEN_FAILURE;
  }
}

uint32_t CodeOfPathError(std::errc error, const char* path) {
  if (error == std::errc::no_such_file_or_directory && path != nullptr) {
    const std::string folder = platform::DirectoryPart(path);
    if (*path == '\0' || (!folder.empty() && !platform::DirectoryExists(folder.c_str())))
      return PELCOR_ERROR_PATH_NOT_FOUND;
  }
  return CodeOfSystemError(error);
}

}  // namespace ombrix::fileaccess
