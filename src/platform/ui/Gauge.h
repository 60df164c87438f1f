#pragma once
// Gauge (a bar filled in its fore colour up to Progress, optional percentage text) and
// progress bar (Min, Max, Position).
#include "platform/ui/Component.h"

class TGauge : public TControl {
public:
    explicit TGauge(TComponent* Owner, TControl* Parent = nullptr);
    int Progress() const { return FProgress; }
    void Progress(int Value);                    // kept within MinValue..MaxValue
    void AddProgress(int Value) { Progress(FProgress + Value); }
    int MinValue() const { return FMin; }
    void MinValue(int Value);
    int MaxValue() const { return FMax; }
    void MaxValue(int Value);
    TColor ForeColor() const { return FFore; }
    void ForeColor(TColor Value);
    TColor BackColor() const { return FBack; }
    void BackColor(TColor Value);
    bool ShowText() const { return FShow_Text; }
    void ShowText(bool Value);
    int PercentDone() const;

    // Layer use.
    int FProgress = 0, FMin = 0, FMax = 100;
    TColor FFore = clBlack, FBack = clWhite;
    bool FShow_Text = true;
};

class TProgressBar : public TControl {
public:
    explicit TProgressBar(TComponent* Owner, TControl* Parent = nullptr);
    int Position() const { return FPosition; }
    void Position(int Value);
    int Min() const { return FMin; }
    void Min(int Value);
    int Max() const { return FMax; }
    void Max(int Value);
    void StepBy(int Delta) { Position(FPosition + Delta); }

private:
    void Apply();
    int FPosition = 0, FMin = 0, FMax = 100;
};
