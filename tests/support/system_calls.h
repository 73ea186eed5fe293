#pragma once
// The system's own calls, for tests that plant what a player's machine may hold (pipes,
// sockets, modes, owners, files held open, other processes): Windows' API there, POSIX's
// elsewhere.

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX // std::min and std::max stay functions
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#endif
