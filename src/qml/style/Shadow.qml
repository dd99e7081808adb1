import QtQuick

// A soft black shadow under a rounded card, drawn from a pre-blurred image
// that every card shares (one texture, batched with the rest of the scene)
// instead of a glow effect per card: a shader item each, and the effects
// module loaded at start-up. Fill the card with it, set `blur` (8, 16 or 20),
// `offset` (how far the shadow falls below the card) and the opacity.
//
// The images: a black rounded rectangle, half the blur inside the frame's
// edge, blurred with a sigma of a quarter of the blur (ImageMagick:
// convert -size SxS xc:none -fill black -draw "roundrectangle b/2,b/2 S-1-b/2,S-1-b/2 R,R"
// -blur 0x(b/4), with S = 2 * (2b + r) + 2 and R = r + b/2; r is 14, 16 and
// 14 for the blurs 8, 16 and 20).
BorderImage {
    id: shadow

    property int blur: 8
    property real offset: 0
    // The card's corner radius the image was drawn for.
    readonly property int cornerRadius: blur === 16 ? 16 : 14

    anchors.leftMargin: -blur
    anchors.rightMargin: -blur
    anchors.topMargin: offset - blur
    anchors.bottomMargin: -offset - blur
    source: Qt.resolvedUrl("shadow-" + blur + ".png")
    border.left: 2 * blur + cornerRadius
    border.right: 2 * blur + cornerRadius
    border.top: 2 * blur + cornerRadius
    border.bottom: 2 * blur + cornerRadius
}
