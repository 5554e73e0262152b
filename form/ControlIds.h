#pragma once

// The control numbers of the dialogs: each notification names its control by one, and so does
// each change the form returns.
namespace tervan::Ctl {

inline constexpr int Static = -1; // labels, group boxes, the icon: never looked up
inline constexpr int Dialog = 0;  // the window itself: its close box
inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;

// Commands of the window's menu. On Windows they join the system menu, whose commands are
// multiples of 16 below 0xF000.
inline constexpr int AboutBox = 0x0010;
inline constexpr int SaveProfile = 0x0020;
inline constexpr int LoadProfile = 0x0030;

// The computer's port.
inline constexpr int PortList = 1001;
inline constexpr int BaudRate = 1002;
inline constexpr int Parity = 1003;
inline constexpr int DataBits = 1004;
inline constexpr int FlowControl = 1005;
inline constexpr int OpenClose = 1006; // hidden; clicked only by program
inline constexpr int Set = 1007;

// Character settings.
inline constexpr int Language = 1008;
inline constexpr int CodePage = 1009;
inline constexpr int Font = 1047;
inline constexpr int DotMatrix = 1021;

// The printer's own serial interface.
inline constexpr int PrinterBaudRate = 1010;
inline constexpr int PrinterParity = 1011;
inline constexpr int PrinterDataBits = 1012;
inline constexpr int PrinterFlowControl = 1013;
inline constexpr int SerialFormatCheck = 1036;

inline constexpr int Divider = 1014;

// Identity texts, each with its "修改" box.
inline constexpr int Manufacturer = 1044;
inline constexpr int ManufacturerCheck = 1046;
inline constexpr int Model = 1034;
inline constexpr int ModelCheck = 1027;
inline constexpr int SerialNumber = 1045;
inline constexpr int SerialNumberCheck = 1028;
inline constexpr int BtName = 1054;
inline constexpr int BtNameCheck = 1055;
inline constexpr int BtPassword = 1056;
inline constexpr int BtPasswordCheck = 1057;

// Black mark.
inline constexpr int MarkDetect = 1037;
inline constexpr int MarkSensitivity = 1038;
inline constexpr int MarkStart = 1039;
inline constexpr int MarkStartOffset = 1015;
inline constexpr int MarkTear = 1042;
inline constexpr int MarkTearOffset = 1019;

// Other settings.
inline constexpr int Speed = 1048;
inline constexpr int Density = 1049;
inline constexpr int CrMode = 1030;
inline constexpr int Direction = 1050;
inline constexpr int PaperWidth = 1032;
inline constexpr int BuzzerError = 1040;
inline constexpr int BuzzerCut = 1041;
inline constexpr int Cutter = 1018;
inline constexpr int UsbMode = 1016;

// Logos.
inline constexpr int BitmapSlot = 1017;
inline constexpr int DownloadBitmap = 1043;
inline constexpr int PrintBitmap = 1051;

// The progress window of a conversation.
inline constexpr int ProgressText = 1101;
inline constexpr int ProgressBar = 1102;

// The preview of a picture before it is stored as a logo.
inline constexpr int PreviewDots = 1201;
inline constexpr int PaperList = 1202;
inline constexpr int DotsWidth = 1203;
inline constexpr int DitherList = 1204;
inline constexpr int InvertCheck = 1205;
inline constexpr int UpscaleCheck = 1206;
inline constexpr int SizeText = 1207;
inline constexpr int VerdictText = 1208;

// Dialog templates.
inline constexpr int AboutDialog = 100;
inline constexpr int MainDialog = 102;
inline constexpr int ProgressDialog = 104;
inline constexpr int PreviewDialog = 106;

} // namespace tervan::Ctl
