#pragma once
// The component model's roots: TObject, TComponent (name, tag, owner, owned components)
// and TControl (a visible control that owns one Qt widget).
#include "platform/ui/Font.h"
#include "platform/ui/Types.h"
#include <memory>
#include <string>
#include <vector>

class QWidget;
class QEvent;
class QObject;

class TObject {
public:
    virtual ~TObject() = default;
};

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* Owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Fires the destroy event (forms), then deletes the component and all it owns.
    void Free();

    std::string Name() const { return FName; }
    virtual void Name(const std::string& Value);
    long Tag() const { return FTag; }
    void Tag(long Value) { FTag = Value; }
    TComponent* Owner() const { return FOwner; }

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const { return FComponents.at(Index); }
    // A directly owned component by name (nullptr when absent).
    TComponent* FindComponent(const std::string& Name) const;
    // Any component owned directly or indirectly, by name (nullptr when absent).
    TComponent* Find_Component_Deep(const std::string& Name) const;

protected:
    // Runs before destruction while the whole object still exists (forms fire OnDestroy).
    virtual void Before_Destruction() {}
    // Marks the component as going: TAlive reports it gone from now on.
    void Expire() { FAlive.reset(); }
    friend void Destroy_Owned(TComponent*);
    friend class TAlive;

private:
    std::shared_ptr<const bool> FAlive = std::make_shared<const bool>(true);
    void Remove_Owned(TComponent* Component);
    std::string FName;
    long FTag = 0;
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    bool FDestroying = false;
};

// Tells whether a component still exists. Take one before running a handler that may free
// the component, and look at it before touching the component again. A component counts
// as gone from the moment it starts to be freed.
class TAlive {
public:
    explicit TAlive(const TComponent* Component)
    {
        if (Component) FToken = Component->FAlive;
    }
    explicit operator bool() const { return !FToken.expired(); }

private:
    std::weak_ptr<const bool> FToken;
};

// Delete every component Owner owns, the last created first (forms fire OnDestroy).
void Destroy_Owned(TComponent* Owner);

class TForm;

class TControl : public TComponent {
public:
    ~TControl() override;

    // ---- placement (pixels, relative to the parent's client area) ----
    int Left() const;
    void Left(int Value);
    int Top() const;
    void Top(int Value);
    int Width() const;
    void Width(int Value);
    int Height() const;
    void Height(int Value);
    virtual void SetBounds(int Left, int Top, int Width, int Height);
    virtual int ClientWidth() const;
    virtual void ClientWidth(int Value);
    virtual int ClientHeight() const;
    virtual void ClientHeight(int Value);

    // ---- parent: re-parenting keeps handlers, state and hints ----
    TControl* Parent() const { return FParent; }
    virtual void Parent(TControl* Value);
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const { return FControls.at(Index); }
    TForm* Parent_Form() const;      // the form this control sits on (itself for a form)

    // ---- own flags: read back exactly what was set, whatever the parents show ----
    bool Visible() const { return FVisible; }
    virtual void Visible(bool Value);
    void Show() { Visible(true); }
    void Hide() { Visible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void Enabled(bool Value);
    // Effective state on screen (false under a hidden or disabled parent).
    bool Showing() const;

    // ---- colour ($BBGGRR or a system colour, stored verbatim) and font ----
    TColor Color() const { return FColor; }
    virtual void Color(TColor Value);
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void Font(const TFont& Value) { FFont = Value; }
    bool ParentFont() const { return FParentFont; }
    void ParentFont(bool Value);

    // ---- hint (text kept whether or not the tool-tip shows), cursor ----
    std::string Hint() const { return FHint; }
    void Hint(const std::string& Value);
    bool ShowHint() const { return FShowHint; }
    void ShowHint(bool Value);
    TCursor Cursor() const { return FCursor; }
    void Cursor(TCursor Value);
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void DoubleBuffered(bool Value) { FDoubleBuffered = Value; }

    // ---- focus, z-order, painting ----
    virtual void SetFocus();
    bool Focused() const;
    bool CanFocus() const;
    void BringToFront();
    void SendToBack();
    void Invalidate();
    void Repaint();

    // Scale this control's size and font, and the position, size and font of all its
    // children, by Multiplier / Divisor (rounded; repeated scaling accumulates rounding).
    void ScaleBy(int Multiplier, int Divisor);

    // ---- events ----
    TNotify_Event OnClick;
    TNotify_Event OnDblClick;
    TMouse_Event OnMouseDown;
    TMouse_Event OnMouseUp;
    TMouse_Move_Event OnMouseMove;
    TNotify_Event OnEnter;
    TNotify_Event OnExit;
    TKey_Event OnKeyDown;
    TKey_Event OnKeyUp;
    TKey_Press_Event OnKeyPress;

    // ---- layer use ----
    QWidget* Widget() const { return FWidget; }
    virtual QWidget* Client_Widget() const { return FWidget; }   // where children go
    static TControl* From_Widget(const QWidget* Widget);      // the control owning a widget
    int Text_Charset() const;        // the character set this control's texts convert by
    void Name(const std::string& Value) override;
    using TComponent::Name;

    // Runs the click handler as a user click would (for key handlers and tests).
    virtual void Click();

    // Layer internals, used by the shared event filter.
    virtual bool Clicks_From_Mouse() const { return true; }
    virtual void Before_Mouse_Down(TMouseButton Button, int X, int Y) {}
    virtual bool Default_Key_Down(std::uint16_t Key, TShiftState Shift) { return false; }
    virtual void Refresh_Texts() {}   // re-render texts after a character-set change
    // What the parent paints beneath this control changed, or a sibling came, went, moved
    // or changed size (a label that paints its parent's colour itself looks again).
    virtual void Backdrop_Changed() {}
    bool Mouse_Pressed_Left = false;

protected:
    TControl(TComponent* Owner, QWidget* Widget);
    virtual void Apply_Font();
    virtual void Apply_Color();
    virtual void Scale_Own(int Multiplier, int Divisor, bool Move);
    void Font_Changed();
    void Watch_Inner_Widget(QWidget* Inner);   // mouse events of an inner widget count as ours
    void Tell_Siblings();                      // this control's place or presence changed
    void Add_Child(TControl* Child);
    void Remove_Child(TControl* Child);

    QWidget* FWidget = nullptr;
    TControl* FParent = nullptr;
    std::vector<TControl*> FControls;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clBtnFace;
    bool FColor_Set = false;         // painted only once set (or by default for some kinds)
    bool FPalette_Deferred = false;  // the colour is not in the palette yet (see Add_Child)
    unsigned FPalette_Roles = 0;     // the palette roles the layer set (bit per role)
    TFont FFont;
    bool FParentFont = true;
    bool FFont_Updating = false;
    std::string FHint;
    bool FShowHint = false;
    TCursor FCursor = TCursor::Default;
    bool FDoubleBuffered = false;
};

// Round Value * Multiplier / Divisor to the nearest integer (halves away from zero).
int Mul_Div(int Value, int Multiplier, int Divisor);
