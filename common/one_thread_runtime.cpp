// Linked only into the shipping programs, which run a single thread.
//
// The C++ runtime calls a handful of threading primitives (its exception
// buffers, the unwinder's frame list, thread-local variables, the guards of
// static variables). The threads
// library that provides them would bring its whole thread machinery, about
// 30 KB, and imports from kernel32 that Windows XP lacks (GetTickCount64), so
// the program would not start there. With one thread these primitives are
// simple: a lock has nothing to wait for, a once-flag is a plain flag and a
// thread-local slot is a plain variable. Test programs, which do start
// threads, link the real library instead.

#include <pthread.h>

#include <cerrno>
#include <cstdlib>

namespace {

// The runtime asks for two or three keys; a fixed table is enough.
constexpr unsigned kMaxKeys = 16;
void* KeyValues[kMaxKeys];
unsigned KeysCreated = 0;

}  // namespace

extern "C" {

int pthread_once(pthread_once_t* once, void (*init)(void)) {
  if (*once == PTHREAD_ONCE_INIT) {
    *once = PTHREAD_ONCE_INIT + 1;
    init();
  }
  return 0;
}

int pthread_mutex_init(pthread_mutex_t*, const pthread_mutexattr_t*) { return 0; }
int pthread_mutex_destroy(pthread_mutex_t*) { return 0; }
int pthread_mutex_lock(pthread_mutex_t*) { return 0; }
int pthread_mutex_unlock(pthread_mutex_t*) { return 0; }

// Waiting is what a static variable's initialisation does when it finds itself
// under way; with one thread that is a recursion that nothing could release.
int pthread_cond_wait(pthread_cond_t*, pthread_mutex_t*) { std::abort(); }
int pthread_cond_broadcast(pthread_cond_t*) { return 0; }

// The destructor would run when a thread ends; the one thread ends with the process.
int pthread_key_create(pthread_key_t* key, void (*)(void*)) {
  if (KeysCreated == kMaxKeys) return EAGAIN;
  *key = KeysCreated++;
  return 0;
}

void* pthread_getspecific(pthread_key_t key) { return key < KeysCreated ? KeyValues[key] : nullptr; }

int pthread_setspecific(pthread_key_t key, const void* value) {
  if (key >= KeysCreated) return EINVAL;
  KeyValues[key] = const_cast<void*>(value);
  return 0;
}

}  // extern "C"

// The runtime's default handler for an uncaught exception prints its demangled
// type on the console, which brings the demangler (about 46 KB). A windowed
// program has no console: end at once, as the default handler does after printing.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
