#include "serial/CPort_Setup.h"

#include <iterator>

#include "data/Text_Util.h"
#include "platform/system/Catalogues.h"
#include "platform/system/Serial_Ports.h"

namespace {

// The item texts of the value kinds, in the order of their enumerations.
const char* const Baud_Texts[] = {"Custom", "110",   "300",   "600",    "1200",   "2400",
                                  "4800",   "9600",  "14400", "19200",  "38400",  "56000",
                                  "57600",  "115200", "128000", "256000"};
const char* const Data_Bits_Texts[] = {"5", "6", "7", "8"};
const char* const Stop_Bits_Texts[] = {"1", "1.5", "2"};
const char* const Parity_Texts[] = {"None", "Odd", "Even", "Mark", "Space"};
const char* const Flow_Texts[] = {"Hardware", "Software", "None", "Custom"};

template <std::size_t N>
std::vector<std::string> Texts_Of(const char* const (&Texts)[N])
{
    return std::vector<std::string>(std::begin(Texts), std::end(Texts));
}

// The value of a text in a table (letter case does not matter); `Default` when none.
template <class E, std::size_t N>
E Value_Of(const char* const (&Texts)[N], const std::string& Text, E Default)
{
    for (std::size_t i = 0; i < N; ++i)
        if (Same_Text(Texts[i], Text))
            return static_cast<E>(i);
    return Default;
}

template <class E, std::size_t N>
std::string Text_Of(const char* const (&Texts)[N], E Value)
{
    const auto i = static_cast<std::size_t>(Value);
    return i < N ? Texts[i] : "";
}

std::string Port_Text(const char* Text)
{
    return sys::Catalogue_Text("cport", Text);
}

// The dialog's layout (pixels).
constexpr int Form_Client_Width = 266;
constexpr int Form_Client_Height = 252;
constexpr int Row_Top = 24;
constexpr int Row_Step = 28;
constexpr int Label_Left = 12;
constexpr int Combo_Left = 108;
constexpr int Combo_Width = 134;
constexpr int Combo_Height = 22;
constexpr int Button_Width = 80;
constexpr int Button_Height = 25;

}  // namespace

// ---------------------------------------------------------------- port list and items

void ListSerialPorts(TStrings& List)
{
    std::vector<std::string> Names;
    int Error_Code = 0;
    if (!sys::Serial_Ports_Sorted(Names, &Error_Code))
        throw EComPort(CError_RegError, Error_Code);
    List.Assign(Names);
}

std::vector<std::string> ComProperty_Items(TComProperty Kind)
{
    switch (Kind) {
    case cpPort: {
        TStrings Ports;
        ListSerialPorts(Ports);
        return Ports.Items();
    }
    case cpBaudRate: return Texts_Of(Baud_Texts);
    case cpDataBits: return Texts_Of(Data_Bits_Texts);
    case cpStopBits: return Texts_Of(Stop_Bits_Texts);
    case cpParity: return Texts_Of(Parity_Texts);
    case cpFlowControl: return Texts_Of(Flow_Texts);
    case cpNone: break;
    }
    return {};
}

// ---------------------------------------------------------------- TComSelect

void TComSelect::Change(const std::string& Text)
{
    switch (FKind) {
    case cpPort:
        Port = Text;
        FPort_Pending = !Text.empty();
        break;
    case cpBaudRate: BaudRate = Value_Of(Baud_Texts, Text, br9600); break;
    case cpDataBits: DataBits = Value_Of(Data_Bits_Texts, Text, dbEight); break;
    case cpStopBits: StopBits = Value_Of(Stop_Bits_Texts, Text, sbOneStopBit); break;
    case cpParity: Parity = Value_Of(Parity_Texts, Text, prNone); break;
    case cpFlowControl: FlowControl = Value_Of(Flow_Texts, Text, fcCustom); break;
    case cpNone: return;
    }
    if (FAutoApply)
        WriteToPort();
}

std::string TComSelect::Port_Value_Text() const
{
    if (!FComPort)
        return "";
    switch (FKind) {
    case cpPort: return FComPort->Port();
    case cpBaudRate: return Text_Of(Baud_Texts, FComPort->BaudRate());
    case cpDataBits: return Text_Of(Data_Bits_Texts, FComPort->DataBits());
    case cpStopBits: return Text_Of(Stop_Bits_Texts, FComPort->StopBits());
    case cpParity: return Text_Of(Parity_Texts, FComPort->Parity().Bits());
    case cpFlowControl: return Text_Of(Flow_Texts, FComPort->FlowControl().FlowControl());
    case cpNone: break;
    }
    return "";
}

void TComSelect::WriteToPort()
{
    if (!FComPort)
        return;
    switch (FKind) {
    case cpPort:
        if (FPort_Pending)
            FComPort->SetPort(Port);
        break;
    case cpBaudRate: FComPort->SetBaudRate(BaudRate); break;
    case cpDataBits: FComPort->SetDataBits(DataBits); break;
    case cpStopBits: FComPort->SetStopBits(StopBits); break;
    case cpParity: FComPort->Parity().SetBits(Parity); break;
    case cpFlowControl: FComPort->FlowControl().SetFlowControl(FlowControl); break;
    case cpNone: break;
    }
}

// ---------------------------------------------------------------- TComComboBox

TComComboBox::TComComboBox(TComponent* Owner, TControl* Parent) : TComboBox(Owner, Parent)
{
    Style(TCombo_Style::Drop_Down_List);
    OnChange = [this](TObject*) { User_Change(); };
}

void TComComboBox::ComPort(TCustomComPort* Port)
{
    FSelect.ComPort(Port);
    if (Items().Count() > 0)
        ReadFromPort();
}

void TComComboBox::ComProperty(TComProperty Kind)
{
    FSelect.ComProperty(Kind);
    Items().Assign(ComProperty_Items(Kind));
    if (Items().Count() == 0)
        return;
    if (ComPort()) {
        ReadFromPort();
    } else {
        ItemIndex(0);
        FSelect.Change(Items()[0]);
    }
}

void TComComboBox::ReadFromPort()
{
    const std::string Current = FSelect.Port_Value_Text();
    int Found = -1;
    for (int i = 0; i < Items().Count() && Found < 0; ++i) {
        // Port names are device names: their letter case matters.
        const bool Same = ComProperty() == cpPort ? Items()[i] == Current
                                                  : Same_Text(Items()[i], Current);
        if (Same)
            Found = i;
    }
    ItemIndex(Found);
    if (Found >= 0)
        FSelect.Change(Items()[Found]);
    else if (ComProperty() == cpPort)
        FSelect.Change("");   // nothing pending: OK keeps the port's name
}

void TComComboBox::User_Change()
{
    FSelect.Change(Text());
}

// ---------------------------------------------------------------- the dialog

TComSetupFrm::TComSetupFrm(TComponent* Owner) : TForm(Owner)
{
    Name("ComSetupFrm");
    BorderStyle(TBorder_Style::Dialog);
    BorderIcons(biSystemMenu);
    Position(TPosition::Main_Form_Center);
    ClientWidth(Form_Client_Width);
    ClientHeight(Form_Client_Height);
    // The captions are the catalogue's; the combos' value texts stay as they are.
    Caption(Port_Text("Setup"));

    GroupBox1 = new TGroupBox(this, this);
    GroupBox1->Name("GroupBox1");
    GroupBox1->Caption(" " + Port_Text("Settings") + " ");
    GroupBox1->SetBounds(8, 8, Form_Client_Width - 16, Row_Top + 6 * Row_Step + 4);

    struct Row {
        TLabel*& Label;
        TComComboBox*& Combo;
        const char* Label_Name;
        const char* Combo_Name;
        const char* Text;
        TComProperty Kind;
    };
    const Row Rows[] = {
        {Label1, Combo1, "Label1", "Combo1", "Port", cpPort},
        {Label2, Combo2, "Label2", "Combo2", "Baud rate", cpBaudRate},
        {Label3, Combo3, "Label3", "Combo3", "Data bits", cpDataBits},
        {Label4, Combo4, "Label4", "Combo4", "Stop bits", cpStopBits},
        {Label5, Combo5, "Label5", "Combo5", "Parity", cpParity},
        {Label6, Combo6, "Label6", "Combo6", "Flow control", cpFlowControl},
    };
    int Top = Row_Top;
    for (const Row& R : Rows) {
        R.Label = new TLabel(this, GroupBox1);
        R.Label->Name(R.Label_Name);
        R.Label->SetBounds(Label_Left, Top + 3, Combo_Left - Label_Left - 4, 16);
        R.Label->Caption(Port_Text(R.Text));
        R.Combo = new TComComboBox(this, GroupBox1);
        R.Combo->Name(R.Combo_Name);
        R.Combo->SetBounds(Combo_Left, Top, Combo_Width, Combo_Height);
        R.Combo->ComProperty(R.Kind);
        Top += Row_Step;
    }

    const int Buttons_Top = GroupBox1->Top() + GroupBox1->Height() + 10;
    Button1 = new TButton(this, this);
    Button1->Name("Button1");
    Button1->Caption(Port_Text("OK"));
    Button1->Default(true);
    Button1->ModalResult(mrOk);
    Button1->SetBounds(Form_Client_Width - 2 * Button_Width - 16, Buttons_Top, Button_Width,
                       Button_Height);
    Button2 = new TButton(this, this);
    Button2->Name("Button2");
    Button2->Caption(Port_Text("Cancel"));
    Button2->Cancel(true);
    Button2->ModalResult(mrCancel);
    Button2->SetBounds(Form_Client_Width - Button_Width - 8, Buttons_Top, Button_Width,
                       Button_Height);
}

std::vector<TComComboBox*> TComSetupFrm::Combos() const
{
    return {Combo1, Combo2, Combo3, Combo4, Combo5, Combo6};
}

bool ExecutePortSetup(TCustomComPort& Port)
{
    // The dialog goes whatever happens inside.
    struct Dialog_Holder {
        TComSetupFrm* Form = nullptr;
        ~Dialog_Holder()
        {
            if (Form)
                Form->Free();
        }
    } Dialog;
    Dialog.Form = new TComSetupFrm(nullptr);
    Dialog.Form->Fire_Create();
    const std::vector<TComComboBox*> Combos = Dialog.Form->Combos();
    for (TComComboBox* C : Combos)
        C->ComPort(&Port);
    if (Dialog.Form->ShowModal() != mrOk)
        return false;
    // One update: the settings reach the device once, at its end.
    Port.BeginUpdate();
    try {
        for (TComComboBox* C : Combos)
            C->WriteToPort();
    } catch (...) {
        Port.EndUpdate();
        throw;
    }
    Port.EndUpdate();
    return true;
}

bool TCustomComPort::RunSetupDialog()
{
    return ExecutePortSetup(*this);
}
