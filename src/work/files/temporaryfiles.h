#ifndef LOOPFORGE_WORK_TEMPORARYFILES_H
#define LOOPFORGE_WORK_TEMPORARYFILES_H

#include <ctime>
#include <string>

// Temporary files of half-written output, and their removal when the
// process is interrupted or was killed before.

// Creates a file from a mkstemp() template (ending in "XXXXXX", replaced by
// the actual name) and remembers it until ForgetTemporaryFile. Returns its
// descriptor, or -1 with errno set.
int CreateTemporaryFile(std::string& nameTemplate);

// Forgets a temporary file that was renamed into place or removed.
void ForgetTemporaryFile(const std::string& name);

// Makes SIGINT, SIGTERM and SIGHUP remove the remembered temporary files
// before they end the process as they would have (so the exit status says
// which signal it was). A signal the process was started ignoring stays
// ignored, as nohup and background jobs expect.
void RemoveTemporaryFilesOnInterrupt();

// Removes the files in folder ("" or ending in '/') named prefix followed by
// six letters or digits, as CreateTemporaryFile names them, that are regular
// files of this user older than maxAgeSeconds: what a killed process left.
void RemoveStaleTemporaryFiles(const std::string& folder, const std::string& prefix,
                               std::time_t maxAgeSeconds);

#endif
