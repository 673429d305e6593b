// Process set-up on Windows: standard streams in binary mode; there are no
// signals for a broken pipe or a file size limit (writes fail instead).
#include "util/process.h"

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <windows.h>

#include <cstring>

namespace orrinrc::process {

void binary_standard_streams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

void ignore_broken_pipe() {}

void ignore_file_size_limit() {}

bool is_terminal(FILE* stream) { return _isatty(_fileno(stream)) != 0; }

bool input_waiting(int fd) {
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (h == INVALID_HANDLE_VALUE) return false;
    // A pipe says how much it holds; a file or a console is taken as ready.
    if (GetFileType(h) != FILE_TYPE_PIPE) return true;
    DWORD available = 0;
    return PeekNamedPipe(h, nullptr, 0, nullptr, &available, nullptr) && available > 0;
}

char* program_name(char* argv0) {
    char* name = argv0;
    for (char* p = argv0; *p != '\0'; ++p)
        if (*p == '\\' || *p == '/') name = p + 1;
    const size_t n = std::strlen(name);
    if (n > 4 && _stricmp(name + n - 4, ".exe") == 0) name[n - 4] = '\0';
    return name;
}

unsigned long id() { return static_cast<unsigned long>(_getpid()); }

}  // namespace orrinrc::process
