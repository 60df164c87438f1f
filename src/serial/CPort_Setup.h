// The port setup dialog and its selection combos: the technician picks the serial port and
// its line settings in a small modal window. Each combo lists the possible values of one
// port property and writes the chosen value back to its port.
//
// User-interface thread only. A bound port must outlive the combos bound to it (the dialog
// binds the port for as long as it is shown).
#pragma once

#include <string>
#include <vector>

#include "platform/ui/UI.h"
#include "serial/CPort.h"

// The property a combo stands for.
enum TComProperty { cpNone, cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl };

// The item texts of a kind, in order. cpPort lists the machine's serial ports (sorted) and
// throws `EComPort` 23 when that list cannot be read; cpNone has no items.
std::vector<std::string> ComProperty_Items(TComProperty Kind);

// Fills `List` with the machine's serial port names, sorted. A machine without serial ports
// gives an empty list; a list that cannot be read throws `EComPort` 23 (CError_RegError)
// with the system error code, and `List` keeps what it held.
void ListSerialPorts(TStrings& List);

// What a combo has chosen for one property of one port, and the way to and from the port.
class TComSelect {
public:
    TComSelect() = default;
    TCustomComPort* ComPort() const { return FComPort; }
    void ComPort(TCustomComPort* Port) { FComPort = Port; }
    TComProperty ComProperty() const { return FKind; }
    void ComProperty(TComProperty Kind) { FKind = Kind; }
    bool AutoApply() const { return FAutoApply; }
    void AutoApply(bool Value) { FAutoApply = Value; }

    // An item text becomes the pending value of the kind; a text that names no value reads
    // as the kind's default (9600 baud, 8 data bits, one stop bit, no parity, custom flow
    // control); letter case does not matter. Applied to the port at once with AutoApply.
    void Change(const std::string& Text);
    // The port's current value of the kind as its item text ("" for cpNone or no port).
    std::string Port_Value_Text() const;
    // Sets the pending value on the port: the port name only when one is pending (setting a
    // different name on an open port closes and reopens it), the others always.
    void WriteToPort();
    // Whether a port name is pending (the combo had one selected or the user picked one).
    bool Port_Pending() const { return FPort_Pending; }

    // The pending values.
    std::string Port;
    TBaudRate BaudRate = br9600;
    TDataBits DataBits = dbEight;
    TStopBits StopBits = sbOneStopBit;
    TParityBits Parity = prNone;
    TFlowControl FlowControl = fcCustom;

private:
    TCustomComPort* FComPort = nullptr;
    TComProperty FKind = cpNone;
    bool FAutoApply = false;
    bool FPort_Pending = false;
};

// A drop-down list of one property's values, bound to a port.
class TComComboBox : public TComboBox {
public:
    explicit TComComboBox(TComponent* Owner, TControl* Parent = nullptr);

    TCustomComPort* ComPort() const { return FSelect.ComPort(); }
    // Binds the port (nullptr unbinds) and selects the item of its current value.
    void ComPort(TCustomComPort* Port);
    TComProperty ComProperty() const { return FSelect.ComProperty(); }
    // Refills the items for the kind; with items, selects item 0 when no port is bound,
    // else the item of the port's current value. cpPort throws `EComPort` 23 when the port
    // list cannot be read.
    void ComProperty(TComProperty Kind);
    bool AutoApply() const { return FSelect.AutoApply(); }
    void AutoApply(bool Value) { FSelect.AutoApply(Value); }

    // Looks the port's current value up in the items: found, that item is selected and is
    // the pending value; not found, no item is selected (and no port name is pending).
    void ReadFromPort();
    // The pending value to the port (TComSelect::WriteToPort).
    void WriteToPort() { FSelect.WriteToPort(); }
    TComSelect& Select() { return FSelect; }

private:
    void User_Change();
    TComSelect FSelect;
};

// The modal setup window: the six combos (port, baud rate, data bits, stop bits, parity,
// flow control) with their labels in a group box, OK (default) and Cancel.
class TComSetupFrm : public TForm {
public:
    explicit TComSetupFrm(TComponent* Owner);
    using TControl::Enabled;
    using TControl::Visible;

    TGroupBox* GroupBox1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TComComboBox* Combo1 = nullptr;
    TComComboBox* Combo2 = nullptr;
    TComComboBox* Combo3 = nullptr;
    TComComboBox* Combo4 = nullptr;
    TComComboBox* Combo5 = nullptr;
    TComComboBox* Combo6 = nullptr;
    TButton* Button1 = nullptr;   // OK
    TButton* Button2 = nullptr;   // Cancel

    // The six combos in their order.
    std::vector<TComComboBox*> Combos() const;
};

// Runs the dialog for the port: the combos show its values; OK writes them in order within
// one update, so buffers, line settings and timeouts are applied once (a changed name on
// an open port closes and reopens it); Cancel changes nothing. True when closed with OK.
// An `EComPort` from the port list or from the port's settings passes to the caller (the
// dialog is freed first).
bool ExecutePortSetup(TCustomComPort& Port);
