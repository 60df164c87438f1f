// The status line: a queue of up to 10 coloured texts shown in turn, one every tick of
// the status timer (2000 ms), and texts shown once without being queued. Also the
// reception status texts and the link-quality percentage that follows the replies.
//
// The queue keeps the state of the line it drives (visible, colour, text, timer on) in
// Status_Line; every change of that line is handed to Status_Line_Hooks, through which
// the main window puts it on its status panel and status timer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/ui/Types.h"

constexpr int Status_Queue_Slots = 10;

class KardunMSG_Class {
public:
  KardunMSG_Class() {
    for (TColor& c : Colour) c = clBtnFace;
  }
  TColor Colour[Status_Queue_Slots + 1];  // slots 1..10 ([0] unused); free slots: button face
  std::string Text[Status_Queue_Slots + 1];
  uint8_t Count = 0;    // queued texts: slots 1..Count
  uint8_t Current = 0;  // slot shown now, 1-based
};
extern KardunMSG_Class Status_Queue;

// What the status line shows now.
struct Status_Line_State {
  bool Visible = false;
  TColor Colour = clBtnFace;
  std::string Text;
  bool Timer_On = false;  // the status timer runs
};
extern Status_Line_State Status_Line;

// 1 while the status line shows a text, 0 after the queue ran empty.
extern int Status_Message_Shown;

// The main window's side of the line (unset hooks are skipped).
struct Status_Line_Hooks_Class {
  // Status timer on or off; switching it on restarts its count.
  std::function<void(bool on)> Timer_Enable;
  // Status panel shown with this colour and text, or hidden (colour button face, empty).
  std::function<void(const Status_Line_State& line)> Line_Changed;
};
extern Status_Line_Hooks_Class Status_Line_Hooks;

// Shows a text at once without queueing it; it stays until the next tick.
void Show_Status_Text(TColor colour, const std::string& text);
// Queues a text (once; a text already queued changes nothing) and shows it at once.
// When all slots are taken the text is dropped.
void Add_Status_Message(TColor colour, const std::string& text);
// Takes a text out of the queue and shows the next one.
void Remove_Status_Message(const std::string& text);
// Shows the next queued text, or hides the line when nothing is queued (timer tick).
void Next_Status_Message();

// Empty queue, hidden line, no hooks.
void Status_Queue_Reset();

// ---- reception status ----
// Read-all begins: its status text is queued; it ends: the text is removed and
// the end text shown once.
void Receiv_Data_On();
void Receiv_Data_Off();

// ---- link quality ----
// The percentage drops from 100 to 0 over the time the connection watchdog allows
// without a valid reply, and jumps back to 100 with each valid reply.
extern int32_t Link_Percent;
extern int32_t Link_Step;

struct Link_Quality_Colours {
  TColor Colour;
  TColor Font_Colour;
};
// Panel and font colour for a percentage.
Link_Quality_Colours Link_Quality_Colour(int32_t percent);

struct Link_Quality_Timing {
  int32_t Step;      // percentage points per tick, at least 1
  int32_t Interval;  // ms per tick, at least 60
};
// Step and tick interval that take the percentage to 0 close to the moment the
// watchdog (watchdog_interval ms) fires, after a reply delay of reply_delay ms.
// Always ends, whatever the delay.
Link_Quality_Timing Link_Quality_Tuning(int32_t watchdog_interval, int32_t reply_delay);

// Valid reply: Link_Percent := 100. Returns the interval the link timer takes for its
// first tick (reply delay + 20 ms); the timer is switched off, given it, and on again.
int32_t Link_Quality_Full(int32_t reply_delay);
// A tick of the link timer running at timer_interval. On the first tick after a reply
// (interval reply delay + 20) returns the re-tuned interval the timer takes (switched off,
// given it, on again) and leaves the percentage; on any other tick lowers the percentage
// and returns 0 (the timer keeps running as it is).
int32_t Link_Quality_Tick(int32_t timer_interval, int32_t reply_delay, int32_t watchdog_interval);
// One step down, never below 0; returns the new percentage.
int32_t Link_Quality_Lower();
// Text of the percentage panel: "87%".
std::string Link_Percent_Text(int32_t percent);

void Link_Quality_Reset_State();
