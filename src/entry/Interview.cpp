#include "entry/Interview.h"

#include "entry/AnswerReview.h"

namespace qv {

Interview::Interview(CTextDoc& doc, UserMessages& messages, std::function<void()> redrawAllViews, Clock clock)
    : doc_(doc), s_(doc.state()), messages_(messages), redraw_(std::move(redrawAllViews)),
      clock_(std::move(clock)) {
    lastAnswerChange_ = clock_();
}

void Interview::moved() {
    offer_.reset();
    if (declined_ != s_.currentOcc)
        declined_.reset();
    redraw_();
    s_.promptDirty = true;
    s_.valueDirty = true;
    s_.focusRequest = true;
}

void Interview::Back() {
    if (s_.currentOcc <= 0)
        return;
    --s_.currentOcc;
    moved();
}

void Interview::answerChanged() {
    redrawPending_ = true;
    lastAnswerChange_ = clock_();
    doc_.SetModifiedFlag(true);
}

void Interview::AcceptOffer() {
    if (offer_ && s_.currentOcc < s_.occCount && doc_.StoreAnswer(s_.currentOcc, *offer_))
        answerChanged();
    offer_.reset();
}

void Interview::GoTo(int k) {
    if (k < 0 || k >= s_.occCount)
        return;
    s_.currentOcc = k;
    moved();
}

void Interview::Next() {
    AcceptOffer();
    if (s_.currentOcc + 1 < s_.occCount)
        ++s_.currentOcc;
    else
        messages_.show(
            "You are currently on the last variable.  If you are happy with what you see on the "
            "screen, you can now print the document.  If you wish to fine-tune the form, click [Done] "
            "after closing this box to go to the print file editor.",
            MessageIcon::Exclamation);
    moved();
}

void Interview::throttledRedraw() {
    const auto now = clock_();
    if (redrawPending_ && now >= lastAnswerChange_ + kQuietTime) {
        lastAnswerChange_ = now;
        redraw_();
        redrawPending_ = false;
    }
}

InterviewView Interview::UpdatePass(const std::string& fieldText, bool focusInFrameChild) {
    InterviewView v;
    const bool any = s_.occCount >= 1;
    const int k = s_.currentOcc;
    v.backEnabled = any && k >= 1;
    v.nextEnabled = any;
    v.nextText = any && k >= s_.occCount - 1 ? "&Now What?" : "&Next >";
    v.doneEnabled = any;
    v.positionEnabled = any;
    v.positionText = any ? std::to_string(k + 1) + "/" + std::to_string(s_.occCount) : "(NONE)";
    v.sliderMaximum = any ? s_.occCount - 1 : 0;
    v.sliderPosition = k;

    if (s_.promptDirty && any) {
        v.prompt = s_.varPrompts[s_.occVars[k]];
        s_.promptDirty = false;
    }

    // The value cycle.
    if (focusInFrameChild || s_.focusRequest) {
        v.focusValue = true;
        s_.focusRequest = false;
    }
    if (!any) {
        v.fillInLater = doc_.FillInLaterState(k);
        return v;
    }
    std::string text = fieldText;
    const bool programFilledField = s_.valueDirty;
    if (s_.valueDirty) {
        text = doc_.DisplayValue(k);
        offer_.reset();
        if (offerEarlierAnswers_ && declined_ != k)
            offer_ = EarlierAnswer(doc_, k);
        if (offer_)
            text = *offer_;
        v.valueText = text;
        s_.valueDirty = false;
    }
    v.valueEnabled = !doc_.IsCalculated(k) || doc_.IsInputCell(k);
    // An offered answer waits in the field until Next takes it; once the user changes
    // the field, what they typed is stored as always.
    if (offer_ && text != *offer_) {
        offer_.reset();
        declined_ = k;
    }
    if (!offer_ && doc_.StoreAnswer(k, text)) {
        redrawPending_ = true;
        lastAnswerChange_ = clock_();
        // Typed answers are unsaved work until the next Save Worksheet; the field the
        // program has just filled (a blank read back as its own kind) is not.
        if (!programFilledField)
            doc_.SetModifiedFlag(true);
    }
    throttledRedraw();
    // After the answer is stored, so the box shows the state of what is in the field; an
    // offered answer counts as a real one.
    v.fillInLater = offer_ ? FillInLater{} : doc_.FillInLaterState(k);
    return v;
}

void Interview::TimerTick(int sliderPosition) {
    if (s_.occCount <= 0 || s_.valueDirty || s_.promptDirty)
        return;
    throttledRedraw();
    if (sliderPosition != s_.currentOcc && sliderPosition >= 0 && sliderPosition < s_.occCount) {
        s_.currentOcc = sliderPosition;
        declined_.reset();
        redraw_();
        s_.valueDirty = true;
        s_.promptDirty = true;
    }
}

} // namespace qv
