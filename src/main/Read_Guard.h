// Whether a read from the controller waits or runs. While one does, what the read will
// overwrite on the pages is not to be edited and Transmit not to be asked: an edit made
// then would be replaced by the controller's value without a word, and a write asked then
// would send the controller's values instead of what the page showed.
#pragma once

// A Receive of the Configuration or Calibration page asked and not yet served, or the
// running script between its reception status's start and end (a read request's script,
// the connect script's block reads). False without a connection: a dropped link ends every
// read. Reads the request queue and the script; user-interface thread only.
bool Read_In_Progress();
