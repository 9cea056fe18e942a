#pragma once

// The graph pages of the correlation program: the page control owns the data set and the
// pages built from the graph database; each page owns the graphs of its grid cells. The
// window shows the pages and forwards the mouse to the functions below, which answer what
// it must do (draw the rubber band, show the cursor read-out, repaint, open the copy dialog).

#include "lmdata/AGraphDatabase.h"
#include "lmdata/AParamTable.h"
#include "lmqwin2/dataset/LMDataSet.h"
#include "lmqwin2/evaluation/AOptions.h"
#include "lmqwin2/evaluation/AProtocol.h"
#include "lmqwin2/evaluation/ATestSetup.h"
#include "lmqwin2/graphs/GraphCanvas.h"
#include "lmqwin2/graphs/TLMGraph.h"
#include "lmqwin2/graphs/frames/FrameSession.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lm {

// The graph tables the pages are built from (AGraphDatabase in the program, a fake in tests).
class AGraphSource {
public:
    virtual ~AGraphSource() = default;
    virtual std::vector<GraphSystem> Systems() const = 0;
    virtual std::vector<GraphPage> Pages(int64_t systemId) const = 0;
    virtual std::vector<GraphRecord> Graphs(int64_t pageId) const = 0;
};

class GraphDatabaseSource final : public AGraphSource {
public:
    explicit GraphDatabaseSource(const AGraphDatabase& db) : db_(db) {}
    std::vector<GraphSystem> Systems() const override { return db_.Systems(); }
    std::vector<GraphPage> Pages(int64_t systemId) const override { return db_.Pages(systemId); }
    std::vector<GraphRecord> Graphs(int64_t pageId) const override { return db_.Graphs(pageId); }

private:
    const AGraphDatabase& db_;
};

// Message boxes the page control raises (the window shows them; the headless runner prints
// them and answers Yes).
class AMessageBox {
public:
    virtual ~AMessageBox() = default;
    virtual void Warning(const std::string& caption, const std::string& text) = 0;
    // A Yes/No confirmation; true for Yes.
    virtual bool Confirm(const std::string& text) = 0;
};

// The question asked when a ninth frame is added with Shift ("Warning", kFrameLimitText and
// the four choices of kFrameLimitChoices, the first preselected).
class AFrameLimitQuestion {
public:
    virtual ~AFrameLimitQuestion() = default;
    virtual FrameLimitChoice Ask() = 0;
};
// Answers with the preselected first choice (headless runs).
class FirstChoiceAnswer final : public AFrameLimitQuestion {
public:
    FrameLimitChoice Ask() override { return FrameLimitChoice::DeleteAllExceptNew; }
};
inline constexpr const char* kFrameLimitCaption = "Warning";
inline constexpr const char* kFrameLimitText =
    "The allowable amount of frames is exceeded. Choose one of the folowing: ";
inline constexpr std::array<const char*, 4> kFrameLimitChoices = {
    "Delete all frames, except new frame", "Ignore new frame",
    "Groop existing frames with \"AND\", add new frame", "Groop existing frames with \"OR\", add new frame"};

inline constexpr const char* kMsgNoPages = "No Pages";
inline constexpr const char* kMsgFileLoadingError = "File Loading Error";
inline constexpr const char* kMsgUndeleteConfirm = "Deleted data will be undeleted.\nConfirm please";
// "Data file doesn't sorted (" time " s). Event View is impossible."
std::string NotSortedMessage(double seconds);

// Where a page paints: its own background in page pixels, and an image per graph in the
// graph's pixels (the raster surface keeps the images between paints; the recording
// surface writes the display list).
class APageSurface {
public:
    virtual ~APageSurface() = default;
    virtual ACanvas& PageCanvas() = 0;
    // The canvas of graph slot `slot`, already laid out (Width x Height, plot area known).
    // `drawing` is false when the graph keeps its stored image.
    virtual ACanvas& GraphCanvas(int slot, const TLMGraph& graph, bool drawing) = 0;
    // A painting error ends the page: the window shows it, the display list records it.
    virtual void PaintError(const std::string& text) { (void)text; }
};

class TLMTabSheet {
public:
    TLMTabSheet(TCommonData& common, std::string caption, int slots)
        : Caption(std::move(caption)), Graphs(size_t(slots)), common_(common)
    {
    }
    std::string Caption;
    // Slot i holds the graph of the i-th graph record of the page (or nothing).
    std::vector<std::unique_ptr<TLMGraph>> Graphs;
    int GraphCount = 0;
    PageGeometry Geometry;

    void Relayout(int width, int height, int horiz, int vert);
    // Paints the page (graphs that need it draw, the others keep their images). Answers the
    // error text when a graph failed ("" otherwise); no further graphs are painted then.
    // Outside event view (where passes share the event classification) the graphs are
    // drawn on up to `threads` threads.
    std::string Paint(APageSurface& surface, bool force, int threads = 1);
    TLMGraph* Graph(int slot) const
    {
        return slot >= 0 && size_t(slot) < Graphs.size() ? Graphs[size_t(slot)].get() : nullptr;
    }

private:
    TCommonData& common_;
};

// The process-wide rubber band of the mouse interaction (graph pixels; normalised).
struct BandRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const BandRect&, const BandRect&) = default;
};

enum class MouseButton { Left, Right, Middle };
struct MouseModifiers {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
};

// What the window does after a mouse call.
struct MouseOutcome {
    // The band to show over the graph's image (graph pixels) while one is dragged; when
    // BandChanged is set the overlay must be updated (shown, moved or removed).
    bool BandVisible = false;
    bool BandChanged = false;
    BandRect Band;
    // New text of status panel 0 (MouseMove only).
    std::optional<std::string> CursorText;
    bool FrameFinished = false; // a frame was finished: refresh the status bar
    bool Zoomed = false;        // a time zoom was applied
    bool CopyRequested = false; // Ctrl + right button: open the copy dialog for this graph
    bool Repaint = false;       // graphs were marked for redraw: repaint the pages
    std::string Error;          // a message for an "Error" warning box (framing failed)
};

class TLMPageControl {
public:
    TLMPageControl(AOptions& options, ATestSetup& setup, AProtocol& protocol);
    ~TLMPageControl();
    TLMPageControl(const TLMPageControl&) = delete;
    TLMPageControl& operator=(const TLMPageControl&) = delete;

    // Where pages come from and the parameter short names (both may be set later).
    void SetGraphSource(const AGraphSource* source) { source_ = source; }
    void SetParamLookup(const ParamLookup* params) { common_.Params = params; }

    LMDataSet& Data() { return data_; }
    const LMDataSet& Data() const { return data_; }
    AOptions& Options() { return options_; }
    ATestSetup& Setup() { return setup_; }
    AProtocol& Protocol() { return protocol_; }
    TCommonData& Common() { return common_; }
    TFrameArray& Frames() { return common_.Frames; }

    // Loads a data file, rebuilds the pages and logs "Data loaded". A failure shows its
    // message ("Data file doesn't exist", "Unknown data type..", "File Loading Error"),
    // rebuilds the pages without data and answers false.
    bool Load(const std::string& fileName, AMessageBox& box);
    // Builds the pages of the chosen graph set. Answers the note about ignored channel
    // tokens ("" when there were none; also kept in BuildNote for the status bar); "No Pages"
    // goes to the box.
    std::string BuildPages(AMessageBox& box);
    std::string BuildNote;
    // Set when a graph set was chosen in the graph database editor during this run.
    bool GraphSetChosen = false;

    int PageCount() const { return int(pages_.size()); }
    TLMTabSheet& Page(int index) { return *pages_.at(size_t(index)); }
    const TLMTabSheet& Page(int index) const { return *pages_.at(size_t(index)); }
    TLMGraph* Graph(int page, int slot) const;
    // The slot of the graph seen at page pixel (x, y) (the last one drawn there); -1 when none.
    int SlotAt(int page, int x, int y) const;

    // Every page takes the client size (width x height) and lays its graphs out.
    void Relayout(int width, int height);
    // Paints one page; answers the painting error ("" when none). The freshly-loaded mark
    // is cleared once a page has painted all its graphs.
    std::string PaintPage(int index, APageSurface& surface, bool force = false);
    // Threads a page paints its graphs on (outside event view); 1 by default.
    int PaintThreads = 1;

    // Marks every graph of every page for redraw.
    void RedrawAll();
    void SetTimeRangeOfAll(int64_t start, int64_t end);
    // Time range filter off; ranges from the data file (0 .. TimeAxisMax) or the records.
    void ResetTimeRanges();
    // "UnZoom": pops the zoom stack; answers whether anything happened.
    bool UnZoom();
    // OK in the zoom dialog: filter on with (a, b) (b := a + 1 when equal), pushed, applied
    // to all graphs and redrawn.
    void ZoomTo(int32_t a, int32_t b);
    // "Scroll Left" / "Scroll Right"; nothing when the zoom stack is empty.
    bool TimeScroll(bool right);
    // "Refresh to start": with records, resets the time ranges and redraws.
    bool RefreshToStart();

    // The mouse on graph `slot` of page `page` (graph pixels).
    MouseOutcome MouseDown(int page, int slot, MouseButton button, MouseModifiers mods, int x, int y);
    MouseOutcome MouseMove(int page, int slot, MouseModifiers mods, int x, int y);
    MouseOutcome MouseUp(int page, int slot, MouseButton button, MouseModifiers mods, int x, int y,
                         AFrameLimitQuestion& question);
    // Whether a left drag on this graph starts a band with these modifiers.
    bool StartsBand(const TLMGraph& graph, MouseModifiers mods) const;
    // Finishes a drag whose band (normalised, clipped) is given: a frame or a time zoom.
    MouseOutcome FinishBand(TLMGraph& graph, const BandRect& band, MouseModifiers mods,
                            AFrameLimitQuestion& question);
    // The cursor read-out of status panel 0 at (x, y) of a graph ("" outside the plot).
    static std::string CursorText(const TLMGraph& graph, int x, int y);

    // The frame commands' state (data, frames, protocol, time filter, event view).
    FrameSession Session();

    // Panels 1-5 of the status bar.
    std::array<std::string, 5> StatusTexts() const;

    // Main-window commands that work on the pages and the data (the window adds its own
    // dialogs around them). Each marks the graphs for redraw when it changed anything.
    enum class Command {
        Frames2JointOR,
        Frames2JointAND,
        FramesDelete,
        JointClear,
        InvertJoin,
        JointDeleteData,
        UndeleteData, // asks kMsgUndeleteConfirm through the box
        InvertDeleted,
        EventView,
        UnZoom,
        RefreshtoStart1,
        TimeScrollLeft,
        TimeScrollRight,
    };
    // The command of an action name ("Frames2JointOR", ...); nothing for an unknown name.
    static std::optional<Command> CommandNamed(const std::string& name);
    void Run(Command command, AMessageBox& box);

private:
    class ProtocolSink;
    std::unique_ptr<TLMGraph> MakeGraph(const GraphRecord& record, int number, std::vector<std::string>& bad);

    AOptions& options_;
    ATestSetup& setup_;
    AProtocol& protocol_;
    LMDataSet data_;
    TCommonData common_;
    std::unique_ptr<ProtocolSink> sink_;
    const AGraphSource* source_ = nullptr;
    std::vector<std::unique_ptr<TLMTabSheet>> pages_;
    int width_ = 0, height_ = 0;
    // The rubber band.
    bool bandDrawing_ = false;
    int bandPage_ = -1, bandSlot_ = -1;
    int anchorX_ = 0, anchorY_ = 0;
    BandRect band_;
};

} // namespace lm
