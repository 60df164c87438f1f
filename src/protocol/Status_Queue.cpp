#include "protocol/Status_Queue.h"

#include <algorithm>

#include "data/Call_Hook.h"
#include "language/Language.h"

KardunMSG_Class Status_Queue;
Status_Line_State Status_Line;
int Status_Message_Shown = 0;
Status_Line_Hooks_Class Status_Line_Hooks;
int32_t Link_Percent = 0;
int32_t Link_Step = 1;

namespace {

void Set_Timer(bool on) {
  Status_Line.Timer_On = on;
  Call_Hook(Status_Line_Hooks.Timer_Enable, on);
}

void Set_Line(bool visible, TColor colour, const std::string& text) {
  Status_Line.Visible = visible;
  Status_Line.Colour = colour;
  Status_Line.Text = text;
  Call_Hook(Status_Line_Hooks.Line_Changed, Status_Line);
}

}  // namespace

void Show_Status_Text(TColor colour, const std::string& text) {
  Set_Timer(true);
  Status_Message_Shown = 1;
  Set_Line(true, colour, text);
}

void Add_Status_Message(TColor colour, const std::string& text) {
  KardunMSG_Class& q = Status_Queue;
  for (int i = 1; i <= q.Count; ++i) {
    if (q.Text[i] == text) return;
  }
  // A full queue drops the text rather than writing past its slots.
  if (q.Count >= Status_Queue_Slots) return;
  ++q.Count;
  q.Colour[q.Count] = colour;
  q.Text[q.Count] = text;
  q.Current = q.Count;
  Show_Status_Text(colour, text);
}

void Remove_Status_Message(const std::string& text) {
  KardunMSG_Class& q = Status_Queue;
  Set_Timer(false);
  if (q.Count == 0) return;
  for (int i = 1; i <= q.Count; ++i) {
    if (q.Text[i] != text) continue;
    for (int k = i; k < q.Count; ++k) {
      q.Colour[k] = q.Colour[k + 1];
      q.Text[k] = q.Text[k + 1];
    }
    q.Colour[q.Count] = clBtnFace;
    q.Text[q.Count].clear();
    --q.Count;
    break;
  }
  Next_Status_Message();
}

void Next_Status_Message() {
  KardunMSG_Class& q = Status_Queue;
  Set_Timer(false);
  if (q.Count > 0) {
    q.Current = q.Current >= q.Count ? 1 : q.Current + 1;
    Set_Line(true, q.Colour[q.Current], q.Text[q.Current]);
    Set_Timer(true);
  } else {
    Status_Message_Shown = 0;
    Set_Line(false, clBtnFace, std::string());
  }
}

void Status_Queue_Reset() {
  Status_Queue = KardunMSG_Class{};
  Status_Line = Status_Line_State{};
  Status_Message_Shown = 0;
  Status_Line_Hooks = Status_Line_Hooks_Class{};
}

// ---- reception status ----

void Receiv_Data_On() { Add_Status_Message(clAqua, Language_Text("Error_Receiv_Data_On")); }

void Receiv_Data_Off() {
  Remove_Status_Message(Language_Text("Error_Receiv_Data_On"));
  Show_Status_Text(clLime, Language_Text("Error_Receiv_Data_Off"));
}

// ---- link quality ----

Link_Quality_Colours Link_Quality_Colour(int32_t percent) {
  if (percent <= 30) return {clRed, clWhite};
  if (percent <= 50) return {0x0080FF, clWhite};
  if (percent <= 60) return {0x00ACFF, clBlue};
  if (percent <= 70) return {0x00C6FF, clBlue};
  if (percent <= 80) return {0x01FEDE, clBlue};
  if (percent <= 90) return {0x00FFB9, clBlue};
  return {clLime, clBlue};
}

Link_Quality_Timing Link_Quality_Tuning(int32_t watchdog_interval, int32_t reply_delay) {
  const int64_t w = static_cast<int64_t>(watchdog_interval) - reply_delay;
  // The step grows until a tick is at least 60 ms. A step of 100 empties the
  // percentage in one tick, so it goes no further (a reply delay near or above the
  // watchdog time leaves no time to spread the fall over).
  int64_t step = 0;
  int64_t interval = 0;
  while (interval < 60 && step < 100) {
    ++step;
    interval = ((w - 600 / step) * step) / 100;
  }
  if (interval < 60) interval = 60;
  while ((interval * 100) / step < w - 600 / step) ++interval;
  return {static_cast<int32_t>(step), static_cast<int32_t>(std::min<int64_t>(interval, 0x7FFFFFFF))};
}

int32_t Link_Quality_Full(int32_t reply_delay) {
  Link_Percent = 100;
  return reply_delay + 20;
}

int32_t Link_Quality_Lower() {
  Link_Percent = std::max(0, Link_Percent - Link_Step);
  return Link_Percent;
}

int32_t Link_Quality_Tick(int32_t timer_interval, int32_t reply_delay, int32_t watchdog_interval) {
  if (timer_interval != reply_delay + 20) {
    Link_Quality_Lower();
    return 0;
  }
  const Link_Quality_Timing t = Link_Quality_Tuning(watchdog_interval, reply_delay);
  Link_Step = t.Step;
  // The first-tick interval marks a fresh reply: a tick that happened to come out the
  // same would re-tune for ever and the percentage would never fall.
  return t.Interval == reply_delay + 20 ? t.Interval + 1 : t.Interval;
}

std::string Link_Percent_Text(int32_t percent) { return std::to_string(percent) + "%"; }

void Link_Quality_Reset_State() {
  Link_Percent = 0;
  Link_Step = 1;
}
