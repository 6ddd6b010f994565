#pragma once

#include <QObject>
#include <functional>

class QAction;
class QDialog;
class QMainWindow;
class QToolBar;
class QWidget;

namespace qv {

class AnswerReviewDock;
class AnswerReviewModel;
class CTextDoc;
class CTextView;
class Interview;
namespace platform {
class Profile;
}

/// What the main window adds beyond the original interview: the answer review with its
/// one-time offer on the last question, and the Options dialog with the offer of earlier
/// answers for repeated names. The main window calls in at its update pass and at loads.
class ReviewController : public QObject {
    Q_OBJECT
public:
    struct Frame {
        QMainWindow* window;
        QAction* reviewAction;                // View > Review Answers, checkable
        QAction* optionsAction;               // Tools > Options...
        std::function<void()> updatePass;     // the main window's update pass
        std::function<void()> updateAllViews; // the layout pass
        std::function<int(QDialog&)> runModal;
        std::function<void()> backToAnswer; // focus to the value field, its text selected
    };
    static constexpr const char* kSection = "Settings";
    static constexpr const char* kOfferEarlierAnswers = "OfferEarlierAnswers";

    ReviewController(Frame frame, CTextDoc& doc, Interview& interview, CTextView& view,
                     platform::Profile& profile);
    ~ReviewController() override;

    AnswerReviewDock* dock() const { return dock_; }
    AnswerReviewModel& model() const { return *model_; }
    QToolBar* offerBar() const { return offerBar_; }
    /// Whether the keyboard focus sits in one of the windows this adds (it stays there).
    bool owns(const QWidget* focus) const;

    /// After each update pass of the main window: the current row, new pages, the offer.
    void AfterUpdatePass();
    /// A form or worksheet was loaded.
    void DocumentLoaded();

    /// Stores a typed answer for occurrence k, as the value field would.
    void StoreAnswer(int k, const std::string& text);
    /// Copies occurrence k's answer into every blank occurrence of the same name.
    void UseEverywhere(int k);
    void JumpTo(int k);
    void ShowReview(bool on);
    /// F6: from the interview bar to the open list and back.
    void SwitchPane();
    void RunOptions();

private:
    Frame frame_;
    CTextDoc& doc_;
    Interview& interview_;
    CTextView& view_;
    platform::Profile& profile_;
    AnswerReviewModel* model_;
    AnswerReviewDock* dock_;
    QToolBar* offerBar_;
    int seenLayoutPasses_ = -1;
    int seenCurrent_ = -1;
    bool offered_ = false;
    bool sized_ = false;
};

} // namespace qv
