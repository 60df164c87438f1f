#pragma once
// Temporary start-up used until the window layer and the main window exist:
// shows one empty form with the given caption and runs the event loop.
int Run_Empty_Main_Form(int argc, char** argv, const char* caption);
