#pragma once

#include <QWidget>

namespace tanabashigo {

class Lesson;
class LessonLayout;
struct PathColours;
struct PathLook;

/// The lesson drawn for a projector, scaled to whatever size it is given: the ladder and path
/// of the trial on view, column numbers with the start line marked, counts and stacks of
/// markers, the trial counter, the rung label and, at the end, a banner naming the column.
/// Before the first trial, and at the end when the class predicted, the class's prediction
/// stands in the ladder's place: a bar of the hands raised over each column.
///
/// It draws from the lesson's state alone, so any repaint shows exactly what the lesson holds.
class LessonSurface : public QWidget {
    Q_OBJECT
public:
    /// `lesson` must outlive the surface.
    explicit LessonSurface(const Lesson& lesson, QWidget* parent = nullptr);
    /// The colours of the path and the markers: choice `choice` of kPathColours.
    void setColours(int choice);
    /// The landing in `column` is not in the record yet: its marker (or the end) is not shown.
    /// 0 shows everything.
    void holdBack(int column);
    /// The column whose landing is held back, 0 for none.
    int heldColumn() const { return heldColumn_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    /// The start line to mark: that of the trial on view, or the next one's before any trial.
    int markedLine() const;
    /// The rung count of the ladder on view: the trial's, or the one set before any trial.
    int shownRungCount() const;
    void paintHeader(QPainter& painter, const LessonLayout& layout) const;
    void paintLadder(QPainter& painter, const LessonLayout& layout) const;
    /// The disc at the path's moving end, drawn over everything on the ladder.
    void paintPathEnd(QPainter& painter, const LessonLayout& layout, const PathLook& look) const;
    void paintColumns(QPainter& painter, const LessonLayout& layout) const;
    void paintBanner(QPainter& painter, const LessonLayout& layout) const;
    /// Whether the prediction stands in the ladder's place.
    bool showsPrediction() const;
    void paintPrediction(QPainter& painter, const LessonLayout& layout) const;

    const Lesson& lesson_;
    int heldColumn_ = 0;
    const PathColours* colours_;
};

}  // namespace tanabashigo
