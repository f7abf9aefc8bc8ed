// SPDX-License-Identifier: ISC
// What the C runtimes that quelto is built on do differently.  Everything
// else in quelto is one code path on every platform.

#ifndef QUELTO_PLATFORM_H
#define QUELTO_PLATFORM_H

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

// The character read without the stream lock: POSIX names it
// getc_unlocked, the Windows runtime _getc_nolock.
inline int read_char_unlocked(std::FILE *stream)
{
#ifdef _WIN32
	return _getc_nolock(stream);
#else
	return getc_unlocked(stream);
#endif
}

// The Windows runtime opens the standard streams in text mode, which turns
// every LF written into CR LF and ends the input at a Ctrl-Z byte.
inline void use_binary_streams()
{
#ifdef _WIN32
	_setmode(_fileno(stdin), _O_BINARY);
	_setmode(_fileno(stdout), _O_BINARY);
	_setmode(_fileno(stderr), _O_BINARY);
#endif
}

#endif
