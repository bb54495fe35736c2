// The lock that serialises the processes writing into one folder: an
// exclusive flock on the folder itself, so that no lock file is left among
// the files a run leaves there.
#pragma once

#include <iostream>
#include <string>

#include "common/diagnostic.h"

namespace scenario {

// The note a writer gives once it has waited a while for the lock of folder.
diagnostic waiting_note(const std::string& folder);

struct held_folder;

class folder_lock {
 public:
  // Takes the lock of folder, waiting while another process holds it; once
  // it has waited about a second it says so on notices, once. A process that
  // holds the lock already takes it again at once. Taking it anew also
  // finishes a replacement of a set that a killed writer left (throwing
  // io_error when a step of that fails), then removes the temporary files
  // that writers which no longer run left in folder. A folder that cannot
  // be opened or locked is written unlocked: the writes themselves then say
  // what is wrong.
  explicit folder_lock(const std::string& folder, std::ostream& notices = std::cerr);
  ~folder_lock();
  folder_lock(const folder_lock&) = delete;
  folder_lock& operator=(const folder_lock&) = delete;

  // The folder opened for reading (to sync it), or -1.
  int folder_descriptor() const;

 private:
  held_folder* hold_;
};

}  // namespace scenario
