#ifndef KEL_INTERNAL_H
#define KEL_INTERNAL_H

// An empty token that marks calls meant for code built on the platform
// (getRemoteObject) rather than for applications.
class kel_Internal {
public:
  kel_Internal() {}
};

#endif
