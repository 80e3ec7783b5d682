// The mailbox vocabulary: every word the program, its hook library and other
// programs write into the caption slots, named once.
//
// Writers and readers use these names instead of retyping the text, so a
// typo no longer compiles into a word nobody reads. The texts are part of
// the interface with the hook library and with other programs and must not
// change, not even by one byte. docs/hook-words.md is the human reference.
//
// A name ending in Prefix is compared on its first N bytes (N = its length);
// one ending in Part is looked for anywhere in the caption; every other name
// is a whole word. All are plain char arrays, so they convert to
// std::string and std::string_view wherever a caption is set or compared.
#pragma once

namespace sq::words {

// ---- words the hook library composes ---------------------------------------
// Key words are built from the virtual-key code N: the command-bar caption
// gets N + KeyDownSuffix / KeyUpPrefix + N + KeyUpSuffix, the input caption
// KeyPrefix + N / HandledPrefix + N. The named key words below are the
// instances the readers compare with.
namespace hook {
inline constexpr char KeyDownSuffix[] = "down";         // "17down"
inline constexpr char KeyUpPrefix[] = "old--";          // "old--17up"
inline constexpr char KeyUpSuffix[] = "up";
inline constexpr char LeftDownPrefix[] = "down/";       // "down/x,y/"
inline constexpr char LeftDownTail[] = "/";
inline constexpr char LeftUpPrefix[] = "ystop==/[[514]]]";  // "ystop==/[[514]]]x,y--"
inline constexpr char LeftUpTail[] = "--";
// The release that ends a drag-scroll or a grabbed thumb (or the drag's
// window going away): "ystop==/ystop stopdrag" x,y "--".
inline constexpr char DragStopPrefix[] = "ystop==/ystop stopdrag";
inline constexpr char RightDownPrefix[] = "rightdn";    // "rightdnx,y"
inline constexpr char RightUpPrefix[] = "rightup";      // "rightupx,y"
inline constexpr char RightPrefix[] = "right";
inline constexpr char WheelUp[] = "ystop wheel=///";
inline constexpr char WheelDown[] = "ystop wheel=vvv";
inline constexpr char PointSeparator[] = ",";
}  // namespace hook

// ---- input caption (the input window, Tqirinputor) -------------------------
namespace in {
inline constexpr char Idle[] = "old--mode";
inline constexpr char IdleTray[] = "old--mod";          // written by the tray handler
inline constexpr char KeyPrefix[] = "key--";            // a keyboard word is pending
inline constexpr char HandledPrefix[] = "old--";        // already handled

// Keys pressed (hook library).
inline constexpr char KeyCtrl[] = "key--17//";
inline constexpr char KeyShift[] = "key--shiftdown";
inline constexpr char KeyAltShift[] = "key--18//alt--shiftdown";
inline constexpr char KeySemicolon[] = "key--186";
inline constexpr char KeyMenu[] = "key--menu";
inline constexpr char KeyCapsLock[] = "key--20";
inline constexpr char CapsLockPart[] = "--20";
inline constexpr char KeyCtrlC[] = "key--ctrlc";
inline constexpr char KeyCtrlX[] = "key--ctrlx";
inline constexpr char KeyCtrlZ[] = "key--ctrlz";
// Keys released (hook library).
inline constexpr char ReleasedCtrl[] = "old--17";
inline constexpr char ReleasedC[] = "old--67";
inline constexpr char ReleasedV[] = "old--86";
inline constexpr char ReleasedWin[] = "old--91";
// Shift and a digit: DigitPrefix + the digit's code, only while the
// caption reads ShiftAck2.
inline constexpr char DigitPrefix[] = "key//bshiftok2--";
inline constexpr int DigitCodeAt = 16;  // the code's two bytes start here

// Requests and answers.
inline constexpr char PasteRequest[] = "key--ctrlv";
inline constexpr char PasteDone[] = "old--xxcvok";
inline constexpr char PasteStart[] = "key--ctrlv--start";   // browser history item
inline constexpr char PasteSeen[] = "key--cvok1////";
inline constexpr char CopySeen1[] = "key--ccok1";
inline constexpr char CopySeen2[] = "key--ccok2";
inline constexpr char CopySeen3[] = "key--ccok3";
inline constexpr char CopyStarted[] = "key--shiftc--copy";
inline constexpr char CopyRunning[] = "old--shiftc--copy";
inline constexpr char CopyAgain[] = "old--shiftc--co1";
inline constexpr char CopyDone[] = "key--shiftc--copy--ok";
inline constexpr char ShiftAck[] = "key//bshiftok";
inline constexpr char ShiftAck2[] = "key//bshiftok2";
inline constexpr char AltShiftAck[] = "key--18//alt--shiftdown--ok";
inline constexpr char SemicolonAck[] = "key--186ok";
inline constexpr char MenuAck[] = "key--menuok";
inline constexpr char ModeRequest[] = "key--mode";
inline constexpr char ModeAck[] = "key--modeok";
inline constexpr char MoveClip[] = "move--clip";
inline constexpr char MoveClipAck[] = "ok move--clip";
inline constexpr char RightReplay[] = "oldright";
inline constexpr char RightReplayAck[] = "xx oldright";
inline constexpr char UndoDone[] = "old--ctrlzok";
// Handled markers.
inline constexpr char HandledLeft[] = "old--lm";
inline constexpr char HandledDrag[] = "old--drag";
inline constexpr char HandledEscape[] = "old--xx--27";
inline constexpr char HandledCapture[] = "old--cap";
inline constexpr char HandledCut[] = "old--key--cxok";
inline constexpr char CaptureStage2[] = "key--wwccok2";
inline constexpr char CaptureStage3[] = "old--key--wwccok3";
}  // namespace in

// ---- words no reader tests -------------------------------------------------
// They begin with one of these; writing them only replaces a word that a
// reader would otherwise act on again.
namespace unread {
inline constexpr char XxPrefix[] = "xx";
inline constexpr char QqPrefix[] = "qq";
}  // namespace unread

// ---- input-word history (the command bar's ListBox1) ------------------------
namespace inhist {
inline constexpr char ReleasedCUsed[] = "old--67xx";
inline constexpr char ReleasedWinUsed[] = "old--91xxxx";
inline constexpr char CaptureUsed[] = "xx//old--27";
}  // namespace inhist

// ---- command-bar caption and key history (Tqircom, its ListBox8) -----------
namespace bar {
inline constexpr char CtrlDown[] = "17down";
inline constexpr char CtrlUp[] = "old--17up";
inline constexpr char AltDown[] = "18down";
inline constexpr char AltUp[] = "old--18up";
inline constexpr char WinDown[] = "91down";
inline constexpr char WinUp[] = "old--91up";
inline constexpr char PatternUsed[] = "cvok";
inline constexpr char PasteMark[] = "91ok";
inline constexpr char SelectMark[] = "18ok";
inline constexpr char CtrlTapMark[] = "OKup";
inline constexpr char CtrlHeldMark[] = "old--xx17up";
inline constexpr char DoubleCtrl[] = "17cctest";
inline constexpr char NoMessagePart[] = "no message";
inline constexpr char AlignTracePrefix[] = "xx align//";
}  // namespace bar

// ---- scroll-mode caption (TqirForm3) ----------------------------------------
namespace scroll {
inline constexpr char StopPrefix[] = "ystop";
inline constexpr char StopDragPart[] = "ystop stopdrag";
inline constexpr char WheelPrefix[] = "ystop wheel=";
inline constexpr char WheelPart[] = "wheel";
inline constexpr char AutoDrag[] = "ystop autodrag";
inline constexpr char Text[] = "ystop text";
inline constexpr char Restarted[] = "123ok ystop";
inline constexpr char PasteDone[] = "ystop okok";
inline constexpr char DragStopped[] = "ystop xx";
inline constexpr char StopHandled[] = "qq--ystop";
inline constexpr char RightUpHandled[] = "ok rightup";
inline constexpr char RightHandled[] = "xx right";
inline constexpr char MyRight[] = "myright";
inline constexpr char MenuPanel[] = "iemenu";
inline constexpr char Closing[] = "qirclose";
inline constexpr char GoHelpWeb[] = "ystop gohelpweb";
inline constexpr char GoWeb[] = "ystop goweb";
// Panel3 of the scroll-mode window: a thumb drag is running.
inline constexpr char ThumbDrag[] = "dragmode";
inline constexpr char ThumbDragHandled[] = "xx dragmode";
// Written by the scroll-mode window's own starts.
inline constexpr char QuickPageDown[] = "quick pagedown";  // its caption: a grab starts
inline constexpr char GrabWheel[] = "wheel";               // Panel5
inline constexpr char GrabDrag[] = "mydrag";               // Panel6
inline constexpr char MiddleDown[] = "mdown sys";          // the browser's midmess
inline constexpr char LifeWheel[] = "mywheel";             // the life panel's caption
}  // namespace scroll

// ---- the window list's words (scroll-mode caption; the bar's Edit3, Edit5) --
namespace winlist {
// Also read and written: cmd::SetListView (a rebuild asks the tick to fill),
// web::WheelSeen (a notch handled), web::WheelUpMark (a backwards notch).
inline constexpr char Filled[] = "ok//set--listview";
inline constexpr char Closed[] = "set xright";
inline constexpr char EchoSuffix[] = "//wheel";   // Edit3: direction + this
inline constexpr char EchoMoved[] = "...";        // Edit3: the pointer moved to the list
inline constexpr char Trace1[] = "ok1---";        // Edit5: how far the wheel step went
inline constexpr char Trace2[] = "ok2---";
inline constexpr char Trace3[] = "ok3---";
}  // namespace winlist

// ---- caret caption (Tcaretinfo) and its ListBox3 -----------------------------
namespace caret {
inline constexpr char Select[] = "select";               // also looked for anywhere
inline constexpr char SelectDonePrefix[] = "ok select";
inline constexpr char SelectHandled[] = "oksel";
inline constexpr char MouseDown[] = "mousedown";
inline constexpr char LeftExit[] = "leftexit select";
inline constexpr char RightExit[] = "rightexit select";
inline constexpr char SelectCopy[] = "select xxcopy";
inline constexpr char CopyLines[] = "alt2menu--51";
inline constexpr char CopyLinesHandled[] = "xx--alt2menu--51";
inline constexpr char LeftPosPrefix[] = "leftpos=";
// Item 1 of ListBox3.
inline constexpr char ScrollReset[] = "ystop000";
inline constexpr char StopDragPrefix[] = "ystop==/ystop stopdrag";
inline constexpr char ResetHandled[] = "new ystop--";
}  // namespace caret

// ---- title caption (TqirForm4) --------------------------------------------
namespace title {
inline constexpr char Dragging[] = "down/...down/";
inline constexpr char DragUp[] = "drag up";
inline constexpr char KeyScroll[] = "mkeyscroll";
// A drag has ended: the badge is hidden (the title window, the scroll-mode
// window).
inline constexpr char Ended[] = "ystop mou3d";
}  // namespace title

// ---- rightform caption ----------------------------------------------------
namespace right {
inline constexpr char PressPrefix[] = "rr";  // "rr" x "," y
}  // namespace right

// ---- main form Panel1 --------------------------------------------------------
namespace mainform {
inline constexpr char Closing[] = "close";
}  // namespace mainform

// ---- command bar panels -----------------------------------------------------
namespace clip {  // Panel19: clipboard requests
inline constexpr char Copy[] = "xx copy";
inline constexpr char CopyHandled[] = "qq--xx copy";
inline constexpr char Test[] = "test clipboard";
}  // namespace clip
namespace zone {  // Panel14: the zone word
inline constexpr char F3[] = "F3";
inline constexpr char CutMark[] = "X!";
inline constexpr char Equal[] = "=";
inline constexpr char Dots[] = "..";
inline constexpr char X[] = "X";
inline constexpr char NotY[] = "!Y";
}  // namespace zone
namespace chord {  // Panel35: the pending chord
inline constexpr char Select[] = "<-";
inline constexpr char Widget[] = "<<";
}  // namespace chord
namespace align {  // BitBtn6
inline constexpr char Pending[] = "---align";
inline constexpr char DonePrefix[] = "win-align";
}  // namespace align
namespace trace {  // Panel2, Panel4 and other trace captions nobody reads
inline constexpr char WinWin[] = "win--win";
inline constexpr char Dashes[] = "--------";
inline constexpr char CtrlC[] = "ctrlc///";
inline constexpr char CtrlCShift[] = "ctrlc";
inline constexpr char CtrlCNoShift[] = "ctrlc///no b";
inline constexpr char CtrlX[] = "ctrlx///";
inline constexpr char CtrlXNoShift[] = "ctrlx///no b";
inline constexpr char CtrlV[] = "ctrlv 3";
inline constexpr char CtrlHeld[] = "ctrldown";
inline constexpr char LeftDownPrefix[] = "leftdown:";
}  // namespace trace

// ---- input window Panel4: where the input method's status window is -------
namespace im {
inline constexpr char CompositionHidden[] = "1";
inline constexpr char CompositionShown[] = "2";
inline constexpr char NoStatusBelow[] = "3";
}  // namespace im

// ---- life panel ----------------------------------------------------------------
namespace life {
inline constexpr char CtrlHeld[] = "<Ctrl>按下";               // Panel4
inline constexpr char NearLeftPrefix[] = "左键附近";           // Panel7
inline constexpr char HintPaste[] = "左键点击--粘贴自我；右键点击--粘贴行首";
inline constexpr char HintNetClose[] = "左键点击--上下网络；右键点击--关闭窗口";
inline constexpr char LeftExit[] = "left exit";                // leftselect
inline constexpr char NoRelease[] = "----";                    // Panel12
inline constexpr char Clip2[] = "c2";                          // Panel2 traces
inline constexpr char Clip3[] = "c3";
inline constexpr char Clip4[] = "4aa";
inline constexpr char ClipOk[] = "cpok";
}  // namespace life

// ---- the browser window: requests, wheel dispatch, corner modes (Teasyie) --
namespace web {
// Scroll-mode caption.
inline constexpr char UrlRequestPrefix[] = "ystopurl";   // + an address
inline constexpr char UrlAck[] = "ystop browok";
inline constexpr char WheelUpMark[] = "///";              // bytes 13-15 of an up notch
inline constexpr char WheelSeen[] = "ystop=xx--wheel";
inline constexpr char WheelPaged[] = "ystop xxwheel=///";
inline constexpr char WheelStartSeen[] = "ystop xxxxwheel=xxxx";
inline constexpr char WheelTask[] = "ystop=task--wheel";
inline constexpr char AutoscrollEnded[] = "qq ystop--";
// Input caption.
inline constexpr char CloseInput[] = "qir:close";
inline constexpr char EasyHelp[] = "qir:easyhelp";
inline constexpr char EasyHelpAck[] = "okqir:easyhelp";
inline constexpr char MoveClipOk[] = "move--clip//ok";
inline constexpr char Space[] = "old--32";
inline constexpr char Enter[] = "old--13";
inline constexpr char OldOldPart[] = "old--old";
inline constexpr char OldOld[] = "old--old--";
inline constexpr char ReadPinPrefix[] = "key--wr2//";     // + the remembered word
inline constexpr char MspyKey[] = "key--wr3";
// Corner modes: the command bar's Panel28, the browser's Panel47.
inline constexpr char Near[] = "near";
inline constexpr char DownFar[] = "down far";
inline constexpr char UpFar[] = "up far";
inline constexpr char TaskFar[] = "task far";
inline constexpr char StartFar[] = "start far";
inline constexpr char WheelStartFar[] = "wwstart far";
inline constexpr char WheelStartFarSeen[] = "xxwwstart far";
inline constexpr char CornersOff[] = "ok";
// Search request (the browser's Panel37).
inline constexpr char SearchRequest[] = "old--searchmode";
inline constexpr char SearchWaiting[] = "old--xxsshmode";
inline constexpr char SearchDone[] = "old--xxqqhmode";
// The browser's midmess after a synthetic middle press.
inline constexpr char MiddleDown[] = "mdown sys";
// Life panel: caption, Label2 (fill state), Label3 (status).
inline constexpr char MyWheel[] = "mywheel";
inline constexpr char Filling[] = "filling";
inline constexpr char InstallingPart[] = "正在安装组件";
inline constexpr char InstallStopped[] = "Stop test";
inline constexpr char StatusCleared[] = "clear";
// Scroll-mode window Panel6 and Panel5.
inline constexpr char MyDrag[] = "mydrag";
inline constexpr char MyDragEnded[] = "xx mydrag";
inline constexpr char WheelEnded[] = "xx wheel";
// The command bar's scrollid.
inline constexpr char ScrollUp[] = "up";
// Command links of the program's own pages.
inline constexpr char LinkPrefix[] = "qir";
inline constexpr char LinkBbs[] = "qir://bbs";
inline constexpr char LinkExit[] = "qir://exit";
inline constexpr char LinkHelp[] = "qir://help";
inline constexpr char LinkHttp[] = "qir://http";
inline constexpr char LinkClose[] = "qir://close";
inline constexpr char LifeBack[] = "qirx://back";
inline constexpr char LifeBackSlash[] = "qirx://back/";
inline constexpr char DropCommandPrefix[] = "qir002cmd";
}  // namespace web
// ---- life panel's near modes, hints and card words ---------------------------
namespace lifehint {
// Near modes: the first 8 bytes of the life panel's Panel7.
inline constexpr char AtRight[] = "右键附近";
inline constexpr char AtSelection[] = "选择附近";
inline constexpr char Away[] = "正常位置";
// Prefixes of the combination hints.
inline constexpr char RightLeftPrefix[] = "右左";
inline constexpr char LeftRightPrefix[] = "左右";
inline constexpr char HintRightLeft[] = "右左：左--上下网络;右--关闭窗口";
inline constexpr char HintLeftRight[] = "左右：左--粘贴自我;右--粘贴行首";
inline constexpr char HintAtLeft[] = "左键附近：右左--粘贴自我;右右--粘贴行首";
inline constexpr char HintAtRight[] = "右键附近：左左--上下网络;左右--关闭窗口";
inline constexpr char HintSelection[] = "选择附近：左键--删除；右键搜索";
inline constexpr char CardHandled[] = "okok";
inline constexpr char Handled[] = "ok";
inline constexpr char MouseDown[] = "鼠标按下";     // Panel6
inline constexpr char EditKeys[] = "编辑键盘";      // Panel11
inline constexpr char SelectionDone[] = "xxleftok"; // leftselect
inline constexpr char LeftOk[] = "leftok";          // leftform caption, leftselect
inline constexpr char ExitLeft[] = "exitleft";      // leftform caption
inline constexpr char LeftNormal[] = "normal";      // leftform caption
inline constexpr char ShowWheelTipPanel[] = "-1";   // Panel4
// Motion words (Panel23) and the command bar's Panel28.
inline constexpr char MoveLeft[] = "left";
inline constexpr char MoveRight[] = "ssssright";
inline constexpr char MoveDown[] = "down";
inline constexpr char MoveNormal[] = "normal";
inline constexpr char WheelOk[] = "ok";
// Wheel mode names.
inline constexpr char WheelNormal[] = "正常滚轮";
inline constexpr char WheelFast[] = "快速滚轮";
// Mouse picture window labels.
inline constexpr char CardDelete[] = "左点:彻底删除";
inline constexpr char CardCopyText[] = "右点:复制文本";
inline constexpr char CardCopyTextMore[] = "右点:复制文本>>";
inline constexpr char CardWebSearch[] = "左点:网上搜索";
inline constexpr char CardLocalFind[] = "右点:本地查找";
inline constexpr char CardFind[] = "右点:查找(Ctrl+F)";
inline constexpr char CardSearchFind[] = "左点,搜索;右点,查找;";
inline constexpr char CardPaste[] = "左点,粘贴;右点,粘贴行首;绿色,复制;桔色,删除";
inline constexpr char CardNetClose[] = "左键点击，上下网络；右键点击，关闭窗口";
// Scroll-mode, zone and browser words.
inline constexpr char ScrollCardDone[] = "ystop dd";
inline constexpr char RightOkUp[] = "right okup";
inline constexpr char MyRightCopying[] = "qq myright";
inline constexpr char MyRightDone[] = "xx myright";
inline constexpr char RightUpPart[] = "rightup";
inline constexpr char ZoneSelection[] = "fF3";
inline constexpr char MiddleDownHandled[] = "xxmdown sys";
inline constexpr char WheelPart[] = "wheel=";
inline constexpr char WheelStopped[] = "ystop ok";
inline constexpr char MenuClass[] = "#32776";
}  // namespace lifehint

// ---- the command bar's commands and requests ------------------------------
// (its Panel28 corner modes and the search request are under web::)
namespace cmd {
// scrollid: direction of the wheel paging mode ("up" is web::ScrollUp).
inline constexpr char Down[] = "down";
// Scroll-mode caption.
inline constexpr char StopOk[] = "ystop ok";
inline constexpr char MyRightClick[] = "xx myright";
inline constexpr char MyRightSecond[] = "xx myright mm";
inline constexpr char SetListView[] = "set--listview";
// Zone word (Panel14) and the copy area's caption (Panel35).
inline constexpr char ZoneO[] = "O";
inline constexpr char ZonePasted[] = "x=";
inline constexpr char ZoneWheel[] = "/=";
inline constexpr char ZoneLockPart[] = "!";
inline constexpr char SecondClick[] = "cc";
// Input caption.
inline constexpr char LineCopy[] = "copyx";
inline constexpr char LineCopyAck[] = "ok copyx";
inline constexpr char CtrlUpAck[] = "old--mode17";
// The bar's caption and its key history.
inline constexpr char CopyOk[] = "alt2--copy--ok";
inline constexpr char CopyOkAck[] = "xx copy ok";
inline constexpr char NoMessageLeft[] = "xx//no message";
inline constexpr char CtrlUpUsed[] = "old--17up//ccok";
inline constexpr char WinUpUsed[] = "old--91up//xx";
// Panel19.
inline constexpr char TestAck[] = "xx test clipboard";
// Edit1 after the Shift-click copy.
inline constexpr char ShiftClickMark[] = "2ctrl";
}  // namespace cmd

}  // namespace sq::words
