#pragma once

#include "toolpath/PathCompare.h"
#include "toolpath/ToolPath.h"

#include <QLineF>
#include <QPixmap>
#include <QPointF>
#include <QVector>
#include <QWidget>
#include <memory>

class QPainter;
class QTimer;

// The drawing of one or two tool paths in a plane: Z across and X up (a lathe), or X across and Y up
// (a mill). Rapids dashed, cutting moves solid, arcs as arcs; drag to pan, the wheel to zoom, a click picks
// the segment under the mouse.
class ToolPathPlot : public QWidget
{
    Q_OBJECT

public:
    enum class Plane
    {
        XZ,
        XY,
    };

    // What the plot shows: the source's path, and the result's with the places they differ while a
    // conversion result is shown.
    struct Paths
    {
        std::shared_ptr<const toolpath::ToolPath> source;
        std::shared_ptr<const toolpath::ToolPath> result;
        std::shared_ptr<const toolpath::PathComparison> comparison;
    };

    explicit ToolPathPlot(QWidget *parent = nullptr);

    // Keeps the view where it is unless `fit`.
    void SetPaths(Paths paths, bool fit);
    void SetPlane(Plane plane);
    Plane CurrentPlane() const { return m_plane; }
    void ZoomToFit();
    // The line whose segments are drawn highlighted (-1 for none).
    void HighlightLine(std::int32_t line);

    // Where a point of the work is drawn, in the widget's pixels.
    QPointF ToScreen(const toolpath::Point3 &p) const;
    const Paths &Shown() const { return m_paths; }
    std::int32_t HighlightedLine() const { return m_highlightLine; }

signals:
    // A click on a segment of the source (`inResult` false) or of the result.
    void SegmentClicked(std::int32_t line, bool inResult);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Style;

    toolpath::ArcPlane ViewPlane() const;
    void RenderCache();
    // The view was dragged or zoomed: the picture follows at once, the paths are drawn anew later.
    void ViewMoved();
    void DrawPath(QPainter &painter, const toolpath::ToolPath &path, const Style &style,
                  const std::vector<std::uint8_t> *differs) const;
    void AddArc(QVector<QLineF> &lines, const toolpath::Segment &arc, const QRectF &visible) const;
    void DrawHighlight(QPainter &painter) const;
    void DrawLegend(QPainter &painter) const;
    double PixelsTo(const toolpath::Segment &s, QPointF pos) const;
    // The index of the segment within a few pixels of `pos`, or -1.
    qsizetype SegmentAt(const toolpath::ToolPath &path, QPointF pos) const;

    Paths m_paths;
    Plane m_plane = Plane::XZ;
    double m_scale = 1;
    QPointF m_centre; // plane coordinates at the middle of the widget
    bool m_fitPending = true;
    std::int32_t m_highlightLine = -1;
    // the paths as last drawn, and the view they were drawn at
    QPixmap m_cache;
    bool m_cacheValid = false;
    double m_cacheScale = 1;
    QPointF m_cacheCentre;
    QTimer *m_redrawLater = nullptr;
    QPointF m_pressPos;
    QPointF m_lastPos;
    bool m_dragged = false;
};
