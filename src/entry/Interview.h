#pragma once

#include "formengine/CTextDoc.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace qv {

/// What the interview bar and the position pane show after an update pass.
struct InterviewView {
    bool backEnabled = false;
    bool nextEnabled = false;
    std::string nextText = "&Next >";
    bool doneEnabled = false;
    FillInLater fillInLater;
    std::optional<std::string> prompt; // set when the prompt is to be refreshed
    int sliderMaximum = 0;
    int sliderPosition = 0;
    bool valueEnabled = false;
    std::optional<std::string> valueText; // set when the field gets new text (then select all)
    bool focusValue = false;              // put the keyboard focus in the value field
    bool positionEnabled = false;
    std::string positionText = "(NONE)";
};

/// The walk over a form's occurrences: Back and Next, the idle update pass that keeps
/// the interview bar in step with the document (prompt refresh, value cycle) and the
/// two-second timer. Answers are stored as they are typed; the form is redrawn only once
/// an answer has stayed unchanged for two seconds. No widgets here: the bar shows an
/// `InterviewView` and reports what the user did.
class Interview {
public:
    using Clock = std::function<std::chrono::milliseconds()>;
    static constexpr std::chrono::milliseconds kQuietTime{2000};

    Interview(CTextDoc& doc, UserMessages& messages, std::function<void()> redrawAllViews, Clock clock);

    void Back();
    void Next();
    /// Makes occurrence k current, as Back and Next do (the answer review's jump).
    void GoTo(int k);

    /// Whether a blank occurrence of a repeated name shows the nearest earlier answer of
    /// that name in the value field, selected. Next stores what the field then holds.
    void setOfferEarlierAnswers(bool on) { offerEarlierAnswers_ = on; }
    bool offerEarlierAnswers() const { return offerEarlierAnswers_; }
    /// The offered answer still waiting in the value field, if any.
    const std::optional<std::string>& pendingOffer() const { return offer_; }
    /// Stores an offered answer that the user left in the field (Next and Done take it).
    void AcceptOffer();

    /// One idle pass. `fieldText` is what the value field holds; `focusInFrameChild` is
    /// true when the keyboard focus sits in a direct child of the main window (such as
    /// the form view), which sends it back to the value field.
    InterviewView UpdatePass(const std::string& fieldText, bool focusInFrameChild);

    /// Timer 1: the throttled redraw, and a moved slider taking effect.
    void TimerTick(int sliderPosition);

    bool redrawPending() const { return redrawPending_; }

private:
    void throttledRedraw();
    void moved();
    void answerChanged();

    CTextDoc& doc_;
    ProgramState& s_;
    UserMessages& messages_;
    std::function<void()> redraw_;
    Clock clock_;
    bool offerEarlierAnswers_ = true;
    std::optional<std::string> offer_; // shown in the field for currentOcc, not yet stored
    // The occurrence whose offer the user cleared or typed over: not offered again until
    // the interview moves on (Next on the last one stays there).
    std::optional<int> declined_;
    bool redrawPending_ = false;
    std::chrono::milliseconds lastAnswerChange_{0};
};

} // namespace qv
