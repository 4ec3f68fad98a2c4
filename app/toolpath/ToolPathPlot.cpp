#include "app/toolpath/ToolPathPlot.h"

#include "toolpath/SegmentGeometry.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

using toolpath::Segment;
using toolpath::SegmentKind;

namespace {

// How near a click must be to a segment to pick it, in pixels.
constexpr double PickDistance = 6;
// The room left around the paths when they are fitted, in pixels.
constexpr int FitMargin = 24;
// How long after the last drag or wheel step the paths are drawn anew at the new view.
constexpr int RedrawDelayMs = 150;

double DistanceToLine(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double squared = QPointF::dotProduct(d, d);
    const double t = squared > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / squared, 0.0, 1.0) : 0.0;
    const QPointF q = a + t * d - p;
    return std::hypot(q.x(), q.y());
}

} // namespace

// The result is drawn wider under the source, so that where both run together both colours show.
struct ToolPathPlot::Style
{
    QColor feed;
    QColor rapid;
    QColor marker;
    double width = 1.5;
};

ToolPathPlot::ToolPathPlot(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolPathPlot"));
    setMinimumSize(200, 150);
    setMouseTracking(false);
    setCursor(Qt::OpenHandCursor);
    m_redrawLater = new QTimer(this);
    m_redrawLater->setSingleShot(true);
    m_redrawLater->setInterval(RedrawDelayMs);
    connect(m_redrawLater, &QTimer::timeout, this, [this] { update(); });
}

void ToolPathPlot::SetPaths(Paths paths, bool fit)
{
    m_paths = std::move(paths);
    m_cacheValid = false;
    if (fit || m_fitPending)
        ZoomToFit();
    update();
}

void ToolPathPlot::SetPlane(Plane plane)
{
    if (plane == m_plane)
        return;
    m_plane = plane;
    ZoomToFit();
}

void ToolPathPlot::HighlightLine(std::int32_t line)
{
    if (line == m_highlightLine)
        return;
    m_highlightLine = line;
    update();
}

toolpath::ArcPlane ToolPathPlot::ViewPlane() const
{
    return m_plane == Plane::XZ ? toolpath::ArcPlane::ZX : toolpath::ArcPlane::XY;
}

QPointF ToolPathPlot::ToScreen(const toolpath::Point3 &p) const
{
    const toolpath::PlanePoint q = toolpath::InPlane(p, ViewPlane());
    return {width() / 2.0 + (q.a - m_centre.x()) * m_scale, height() / 2.0 - (q.b - m_centre.y()) * m_scale};
}

// The fit frames the cutting moves and the cycles: a rapid to a far home position would leave the part a
// speck. A path of rapids only is framed whole.
void ToolPathPlot::ZoomToFit()
{
    double lowA = 1e300, lowB = 1e300, highA = -1e300, highB = -1e300;
    for (const bool cutsOnly : {true, false}) {
        for (const auto *path : {m_paths.source.get(), m_paths.result.get()}) {
            if (!path)
                continue;
            for (const Segment &s : path->segments) {
                if (cutsOnly && s.kind == SegmentKind::Rapid)
                    continue;
                for (const toolpath::Point3 &p : {s.start, s.end}) {
                    const toolpath::PlanePoint q = toolpath::InPlane(p, ViewPlane());
                    lowA = std::min(lowA, q.a);
                    highA = std::max(highA, q.a);
                    lowB = std::min(lowB, q.b);
                    highB = std::max(highB, q.b);
                }
            }
        }
        if (highA >= lowA)
            break;
    }
    m_cacheValid = false;
    m_fitPending = highA < lowA || width() <= 2 * FitMargin || height() <= 2 * FitMargin;
    if (highA < lowA) {
        m_centre = {};
        m_scale = 1;
        update();
        return;
    }
    m_centre = {(lowA + highA) / 2, (lowB + highB) / 2};
    const double spanA = std::max(highA - lowA, 1e-3);
    const double spanB = std::max(highB - lowB, 1e-3);
    m_scale = std::min((width() - 2 * FitMargin) / spanA, (height() - 2 * FitMargin) / spanB);
    m_scale = std::clamp(m_scale, 1e-6, 1e6);
    update();
}

// The paths are drawn into a picture that is kept while the view stays as it is. While the view is
// dragged or zoomed the picture is shown moved and scaled, and drawn anew a moment after the movement
// stops, so panning stays smooth however long the path.
void ToolPathPlot::paintEvent(QPaintEvent *)
{
    const bool sameView = m_cacheValid && m_cacheScale == m_scale && m_cacheCentre == m_centre &&
                          m_cache.size() == size() * devicePixelRatioF();
    if (!m_cacheValid || (sameView == false && !m_redrawLater->isActive()))
        RenderCache();
    QPainter painter(this);
    if (m_cacheScale == m_scale && m_cacheCentre == m_centre) {
        painter.drawPixmap(0, 0, m_cache);
    } else {
        // the cached picture placed where its points are drawn now
        const double k = m_scale / m_cacheScale;
        const QPointF shift((m_cacheCentre.x() - m_centre.x()) * m_scale,
                            -(m_cacheCentre.y() - m_centre.y()) * m_scale);
        const QPointF half(width() / 2.0, height() / 2.0);
        painter.fillRect(rect(), Qt::white);
        painter.translate(half + shift);
        painter.scale(k, k);
        painter.translate(-half);
        painter.drawPixmap(QPointF(0, 0), m_cache);
        painter.resetTransform();
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    DrawHighlight(painter);
    DrawLegend(painter);
}

void ToolPathPlot::RenderCache()
{
    m_cache = QPixmap(size() * devicePixelRatioF());
    m_cache.setDevicePixelRatio(devicePixelRatioF());
    m_cache.fill(Qt::white);
    m_cacheScale = m_scale;
    m_cacheCentre = m_centre;
    m_cacheValid = true;
    QPainter painter(&m_cache);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // the turning axis, X = 0, on a lathe plot
    if (m_plane == Plane::XZ) {
        const double y = ToScreen({}).y();
        painter.setPen(QPen(QColor(170, 170, 170), 1, Qt::DashDotLine));
        painter.drawLine(QPointF(0, y), QPointF(width(), y));
    }
    const std::vector<std::uint8_t> *resultDiffers =
        m_paths.comparison ? &m_paths.comparison->resultDiffers : nullptr;
    const std::vector<std::uint8_t> *sourceDiffers =
        m_paths.comparison ? &m_paths.comparison->sourceDiffers : nullptr;
    if (m_paths.result)
        DrawPath(painter, *m_paths.result,
                 {QColor(240, 140, 20), QColor(240, 170, 90), QColor(200, 90, 0), 5}, resultDiffers);
    if (m_paths.source)
        DrawPath(painter, *m_paths.source, {QColor(0, 60, 200), QColor(90, 130, 230), QColor(0, 130, 60)},
                 sourceDiffers);
}

void ToolPathPlot::ViewMoved()
{
    m_redrawLater->start();
    update();
}

// Segments are gathered per pen and drawn in a few calls; a segment that stays on the pixel the last one
// ended on adds nothing to see and is passed over, so a path of a million short segments draws at the
// speed of the pixels it covers. Arcs become chords a quarter pixel from the true arc. Past a few ten
// thousand lines the plot is drawn without smoothing and rapids without dashes, which cost more than the
// lines themselves and cannot be told apart in such a crowd anyway.
void ToolPathPlot::DrawPath(QPainter &painter, const toolpath::ToolPath &path, const Style &style,
                            const std::vector<std::uint8_t> *differs) const
{
    constexpr qsizetype CrowdedLines = 20000;
    QVector<QLineF> feeds, rapids, different;
    QVector<QPointF> markers, places;
    const QRectF visible = QRectF(rect()).adjusted(-2, -2, 2, 2);
    QPoint lastPixel(INT_MIN, INT_MIN);
    SegmentKind lastKind = SegmentKind::Cycle;
    bool lastDiffered = false;
    for (std::size_t i = 0; i < path.segments.size(); ++i) {
        const Segment &s = path.segments[i];
        const QPointF a = ToScreen(s.start);
        const QPointF b = ToScreen(s.end);
        const bool differing = differs && i < differs->size() && (*differs)[i];
        if (differing && !lastDiffered)
            places.append(a);
        lastDiffered = differing || (s.kind == SegmentKind::Cycle && lastDiffered);
        if (s.kind == SegmentKind::Cycle) {
            if (visible.contains(b))
                markers.append(b);
            continue;
        }
        const QPoint pixel = b.toPoint();
        if (pixel == lastPixel && a.toPoint() == pixel && s.kind == lastKind && !differing)
            continue;
        lastPixel = pixel;
        lastKind = s.kind;
        QVector<QLineF> &target = s.kind == SegmentKind::Rapid ? rapids : feeds;
        const qsizetype first = target.size();
        if (s.IsArc() && s.plane == ViewPlane())
            AddArc(target, s, visible);
        else if (QRectF(a, b).normalized().adjusted(-1, -1, 1, 1).intersects(visible))
            target.append(QLineF(a, b));
        // a differing move is laid on a band as well as drawn in its own pen
        if (differing)
            different.append(target.mid(first));
    }
    const bool crowded = feeds.size() + rapids.size() > CrowdedLines;
    painter.setRenderHint(QPainter::Antialiasing, !crowded);
    if (!different.isEmpty()) {
        painter.setPen(QPen(QColor(255, 0, 0, 90), 7, Qt::SolidLine, Qt::RoundCap));
        painter.drawLines(different);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(
        QPen(style.rapid, crowded ? 1 : style.width - 0.5, crowded ? Qt::SolidLine : Qt::DashLine));
    painter.drawLines(rapids);
    painter.setPen(QPen(style.feed, crowded ? 1 : style.width));
    painter.drawLines(feeds);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(style.marker, 1.5));
    for (const QPointF &m : std::as_const(markers)) {
        painter.drawLine(m + QPointF(-4, -4), m + QPointF(4, 4));
        painter.drawLine(m + QPointF(-4, 4), m + QPointF(4, -4));
    }
    painter.setPen(QPen(Qt::red, 2));
    for (const QPointF &p : std::as_const(places))
        painter.drawEllipse(p, 9, 9);
}

void ToolPathPlot::AddArc(QVector<QLineF> &lines, const Segment &arc, const QRectF &visible) const
{
    const toolpath::ArcShape shape = toolpath::ShapeOf(arc);
    const double r = shape.radius * m_scale;
    const QPointF c = ToScreen(toolpath::WithPlane(arc.start, shape.centre, arc.plane));
    if (!QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r).adjusted(-1, -1, 1, 1).intersects(visible))
        return;
    const double step = r > 0.25 ? 2 * std::acos(1 - 0.25 / r) : 2 * 3.14159265358979323846;
    const int chords = int(std::clamp(std::ceil(std::fabs(shape.sweep) / step), 1.0, 720.0));
    QPointF from = ToScreen(arc.start);
    for (int k = 1; k <= chords; ++k) {
        const double angle = shape.startAngle + shape.sweep * k / chords;
        const QPointF to(c.x() + r * std::cos(angle), c.y() - r * std::sin(angle));
        lines.append(QLineF(from, to));
        from = to;
    }
}

void ToolPathPlot::DrawHighlight(QPainter &painter) const
{
    if (!m_paths.source || m_highlightLine < 0)
        return;
    const toolpath::ToolPath &path = *m_paths.source;
    const qsizetype first = toolpath::FirstSegmentOfLine(path, m_highlightLine);
    if (first < 0)
        return;
    painter.setPen(QPen(QColor(220, 0, 180), 4, Qt::SolidLine, Qt::RoundCap));
    for (std::size_t i = std::size_t(first);
         i < path.segments.size() && path.segments[i].line == m_highlightLine; ++i) {
        const Segment &s = path.segments[i];
        if (s.kind == SegmentKind::Cycle) {
            painter.drawEllipse(ToScreen(s.end), 6, 6);
            continue;
        }
        QPainterPath shape;
        shape.moveTo(ToScreen(s.start));
        const int steps = s.IsArc() && s.plane == ViewPlane() ? 32 : 1;
        for (int k = 1; k <= steps; ++k)
            shape.lineTo(ToScreen(toolpath::PointAlong(s, double(k) / steps)));
        painter.drawPath(shape);
    }
}

// In the top right corner, where a lathe plot (the part below and left of its start point) seldom draws.
void ToolPathPlot::DrawLegend(QPainter &painter) const
{
    const int x = width() - 110;
    int y = 18;
    const auto entry = [&](const QColor &colour, double width, Qt::PenStyle pen, const QString &text) {
        painter.setPen(QPen(colour, width, pen));
        painter.drawLine(x, y - 4, x + 24, y - 4);
        painter.setPen(Qt::black);
        painter.drawText(x + 30, y, text);
        y += 16;
    };
    entry(QColor(0, 60, 200), 1.5, Qt::SolidLine, QStringLiteral("切削送り"));
    entry(QColor(0, 60, 200), 1.5, Qt::DashLine, QStringLiteral("早送り"));
    if (m_paths.result) {
        entry(QColor(240, 140, 20), 5, Qt::SolidLine, QStringLiteral("変換結果"));
        entry(QColor(255, 0, 0, 90), 6, Qt::SolidLine, QStringLiteral("相違"));
    }
    painter.setPen(Qt::black);
    painter.drawText(10, 16,
                     m_plane == Plane::XZ ? QStringLiteral("横: Z  縦: X (半径)")
                                          : QStringLiteral("横: X  縦: Y"));
}

double ToolPathPlot::PixelsTo(const Segment &s, QPointF pos) const
{
    if (s.kind == SegmentKind::Cycle) {
        const QPointF m = ToScreen(s.end) - pos;
        return std::hypot(m.x(), m.y());
    }
    if (s.IsArc() && s.plane == ViewPlane()) {
        // the distance in the plane, measured on the model and turned into pixels
        const toolpath::PlanePoint q{m_centre.x() + (pos.x() - width() / 2.0) / m_scale,
                                     m_centre.y() - (pos.y() - height() / 2.0) / m_scale};
        return toolpath::DistanceTo(s, toolpath::WithPlane(s.start, q, s.plane)) * m_scale;
    }
    return DistanceToLine(pos, ToScreen(s.start), ToScreen(s.end));
}

qsizetype ToolPathPlot::SegmentAt(const toolpath::ToolPath &path, QPointF pos) const
{
    qsizetype best = -1;
    double bestDistance = PickDistance;
    for (std::size_t i = 0; i < path.segments.size(); ++i) {
        const double d = PixelsTo(path.segments[i], pos);
        if (d < bestDistance) {
            bestDistance = d;
            best = qsizetype(i);
        }
    }
    return best;
}

void ToolPathPlot::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressPos = m_lastPos = event->position();
    m_dragged = false;
    setCursor(Qt::ClosedHandCursor);
}

void ToolPathPlot::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPointF delta = event->position() - m_lastPos;
    m_lastPos = event->position();
    const QPointF fromPress = event->position() - m_pressPos;
    m_dragged = m_dragged || std::hypot(fromPress.x(), fromPress.y()) > 3;
    m_centre -= QPointF(delta.x() / m_scale, -delta.y() / m_scale);
    ViewMoved();
}

void ToolPathPlot::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setCursor(Qt::OpenHandCursor);
    if (m_dragged)
        return;
    // the nearer of the two paths; the source, drawn on top, where both are as near
    const qsizetype inSource = m_paths.source ? SegmentAt(*m_paths.source, event->position()) : -1;
    const qsizetype inResult = m_paths.result ? SegmentAt(*m_paths.result, event->position()) : -1;
    if (inResult >= 0 &&
        (inSource < 0 || PixelsTo(m_paths.result->segments[std::size_t(inResult)], event->position()) + 1 <
                             PixelsTo(m_paths.source->segments[std::size_t(inSource)], event->position())))
        emit SegmentClicked(m_paths.result->segments[std::size_t(inResult)].line, true);
    else if (inSource >= 0)
        emit SegmentClicked(m_paths.source->segments[std::size_t(inSource)].line, false);
}

void ToolPathPlot::mouseDoubleClickEvent(QMouseEvent *)
{
    ZoomToFit();
}

// The point under the mouse stays where it is.
void ToolPathPlot::wheelEvent(QWheelEvent *event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0)
        return;
    const double factor = std::pow(1.25, steps);
    const double scale = std::clamp(m_scale * factor, 1e-6, 1e6);
    const QPointF pos = event->position();
    const QPointF offset(pos.x() - width() / 2.0, -(pos.y() - height() / 2.0));
    m_centre += offset / m_scale - offset / scale;
    m_scale = scale;
    ViewMoved();
}

void ToolPathPlot::resizeEvent(QResizeEvent *event)
{
    if (event->size() != event->oldSize())
        m_cacheValid = false;
    if (m_fitPending)
        ZoomToFit();
}
