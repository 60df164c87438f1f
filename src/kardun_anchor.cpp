// Keeps the system library non-empty while its subsystem folders fill up.
namespace kardun_build { int anchor = 0; }
