#!/usr/bin/python3
"""Writes ui/images/NAME.svg from ui/images/source/NAME.svg with every <text> replaced by <path>
outlines of its glyphs, laid out by Inkscape; everything else is copied as it is. Run through
scripts/outline-pictures, which installs Inkscape and the fonts, from the top of the tree.
Usage: outline_pictures.py WORK_DIR [NAME...]
"""
import glob, os, re, subprocess, sys
import xml.etree.ElementTree as ET

work, names = sys.argv[1], sys.argv[2:]
SOURCES, OUT = "ui/images/source", "ui/images"
SVG = "{http://www.w3.org/2000/svg}"
# Attributes that only lay out or style a text; the outlines keep the rest (fill, opacity...).
TEXT_ONLY = re.compile(r"^(x|y|dx|dy|rotate|textLength|lengthAdjust|font(-.*)?|text-.*|letter-spacing|"
                       r"word-spacing|dominant-baseline|alignment-baseline|baseline-shift|xml:space|"
                       r"direction|unicode-bidi|writing-mode)$")
TEXT = re.compile(r"<text\b(?P<attrs>[^>]*)>(?P<body>.*?)</text>", re.S)
ATTR = re.compile(r'([\w:-]+)="([^"]*)"')


def fail(message):
    sys.exit(f"outline-pictures: {message}")


# Coordinates are kept to a hundredth of a pixel: finer than any screen shows at twice the
# density, and what makes the outlines small.
DECIMALS = 2
STEPS = 10 ** DECIMALS


def steps(value):
    return round(float(value) * STEPS)


def number(n):
    """A coordinate counted in steps, written as short as it reads back the same."""
    text = f"{n / STEPS:.{DECIMALS}f}".rstrip("0").rstrip(".")
    if text == "-0":
        text = "0"
    return text.replace("0.", ".", 1) if text.startswith(("0.", "-0.")) else text


TOKEN = re.compile(r"[MmLlHhVvCcSsQqTtZz]|[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?")
ARITY = {"M": 2, "L": 2, "H": 1, "V": 1, "C": 6, "S": 4, "Q": 4, "T": 2, "Z": 0}


def absolute_segments(d, slant=None):
    """The segments of path data as (command, absolute points in steps); `slant`,
    (shear, baseline), leans the outline to the right above the baseline."""
    tokens = TOKEN.findall(d)
    if "".join(tokens) != re.sub(r"[\s,]", "", d):
        fail(f"path data it cannot read: {d[:60]}...")
    x = y = sx = sy = 0.0
    i, command, out = 0, None, []
    while i < len(tokens):
        if tokens[i].isalpha():
            command = tokens[i]
            i += 1
        elif command is None:
            fail("path data starts with a number")
        upper = command.upper()
        dx, dy = (x, y) if command.islower() else (0.0, 0.0)
        if upper == "Z":
            out.append(("Z", []))
            x, y, command = sx, sy, None
            continue
        args = [float(t) for t in tokens[i:i + ARITY[upper]]]
        i += ARITY[upper]
        if upper == "H":
            points = [(args[0] + dx, y)]
        elif upper == "V":
            points = [(x, args[0] + dy)]
        else:
            points = [(args[k] + dx, args[k + 1] + dy) for k in range(0, len(args), 2)]
        x, y = points[-1]
        if upper == "M":
            sx, sy = x, y
            command = "l" if command == "m" else "L"
        if slant:
            points = [(px + slant[0] * (slant[1] - py), py) for px, py in points]
        out.append(("L" if upper in "HV" else upper, [(steps(px), steps(py)) for px, py in points]))
    return out


def relative_data(segments):
    """Path data for absolute segments, in relative commands."""
    parts, x, y, sx, sy, last = [], 0, 0, 0, 0, None
    for upper, points in segments:
        if upper == "Z":
            parts.append("z")
            x, y, last = sx, sy, "z"
            continue
        coords = [(px - x, py - y) for px, py in points]
        command = upper.lower()
        if command == "l" and coords[0][1] == 0:
            command, values = "h", [coords[0][0]]
        elif command == "l" and coords[0][0] == 0:
            command, values = "v", [coords[0][1]]
        else:
            values = [v for point in coords for v in point]
        text = "".join(("" if n.startswith("-") or k == 0 else " ") + n
                       for k, n in enumerate(number(v) for v in values))
        repeat = command == last and command != "m"
        if repeat and not text.startswith("-"):
            text = " " + text
        parts.append(text if repeat else command + text)
        last = command
        x, y = points[-1]
        if upper == "M":
            sx, sy = x, y
    return "".join(parts)


def declarations(style):
    return [(k.strip(), v.strip()) for k, v in (item.split(":", 1) for item in style.split(";") if ":" in item)]


def style_of(attrs):
    """An element's presentation attributes with its style="..." declarations over them."""
    return dict(attrs, **dict(declarations(attrs.get("style", ""))))


def runs(group, slant):
    """The outlines of one text as [(fill, path data)], one entry per run of one colour."""
    out = []

    def walk(element, fill):
        style = style_of(element.attrib)
        if "transform" in element.attrib and element is not group:
            fail(f"a transformed glyph in {group.get('id')}")
        fill = style.get("fill", fill)
        if element.tag == SVG + "path" and element.get("d"):
            segments = absolute_segments(element.get("d"), slant)
            if out and out[-1][0] == fill:
                out[-1][1].extend(segments)
            else:
                out.append((fill, segments))
        for child in element:
            walk(child, fill)

    if "transform" in group.attrib:
        fail(f"{group.get('id')} was given a transform")
    walk(group, None)
    return [(fill, relative_data(segments)) for fill, segments in out]


# Such a face is leant as Qt leans it (with FreeType's shear, about 12°), so that the picture
# keeps the look it had when Qt drew its texts.
SYNTHETIC_SLANT = 0x366A / 0x10000


def slant(attrs, source):
    """(shear, baseline) for an italic text whose font has no italic face, which Inkscape
    draws upright; None for any other text."""
    style = style_of(attrs)
    if style.get("font-style", "normal") not in ("italic", "oblique"):
        return None
    families = ",".join(f.strip().strip("'\"") for f in style.get("font-family", "sans-serif").split(","))
    weight = "bold" if style.get("font-weight") in ("bold", "bolder", "600", "700", "800", "900") else "regular"
    matrix = subprocess.run(["fc-match", "-f", "%{matrix}", f"{families}:weight={weight}:slant=italic"],
                            check=True, capture_output=True, text=True).stdout.split()
    if not matrix:
        return None
    if len(matrix) != 4 or [float(v) for v in matrix[:1] + matrix[2:]] != [1, 0, 1]:
        fail(f"fontconfig leans an italic text of {source} by an unknown matrix {matrix}")
    if not re.fullmatch(r"-?[\d.]+", attrs.get("y", "")) or "dy" in attrs:
        fail(f"an italic text in {source} needs one y to lean about")
    return SYNTHETIC_SLANT, float(attrs["y"])


def outline(source, target):
    text = open(source, encoding="utf-8").read()
    texts = list(TEXT.finditer(text))
    if not texts:
        fail(f"{source} has no text: keep such a picture only in {OUT}/")
    # Inkscape lays every text out; each is found again in its output by a name given here.
    ids = iter(range(len(texts)))
    marked = TEXT.sub(lambda m: f'<text id="outline-{next(ids)}"' + re.sub(r'\s+id="[^"]*"', "", m.group("attrs"))
                      + f'>{m.group("body")}</text>', text)
    marked_path = os.path.join(work, "in.svg")
    laid_path = os.path.join(work, "out.svg")
    open(marked_path, "w", encoding="utf-8").write(marked)
    inkscape = subprocess.run(["inkscape", "--export-text-to-path", "--export-plain-svg", "-o", laid_path,
                               marked_path], capture_output=True, text=True)
    if inkscape.returncode != 0:
        fail(f"Inkscape could not lay out {source}:\n{inkscape.stderr}")
    laid = {e.get("id"): e for e in ET.parse(laid_path).iter() if e.get("id", "").startswith("outline-")}

    pieces, end = [], 0
    for index, match in enumerate(texts):
        group = laid.get(f"outline-{index}")
        if group is None or group.tag != SVG + "g":
            fail(f"Inkscape did not outline text {index + 1} of {source}")
        kept = []
        for k, v in ATTR.findall(match.group("attrs")):
            if k == "style":
                v = ";".join(f"{p}:{w}" for p, w in declarations(v) if not TEXT_ONLY.match(p) and p != "fill")
            if not TEXT_ONLY.match(k) and v:
                kept.append((k, v))
        indent = text[text.rfind("\n", 0, match.start()) + 1:match.start()]
        paths, outlines = [], runs(group, slant(dict(ATTR.findall(match.group("attrs"))), source))
        if len(outlines) > 1 and any(k == "id" for k, _ in kept):
            fail(f"text {index + 1} of {source} has an id and more than one colour")
        # The outlines keep what the text said, as their label: for readers of the file, and
        # for the tests that hold the About picture's version to the program's.
        label = ("aria-label", " ".join(re.sub(r"<[^>]*>", "", match.group("body")).split()))
        for fill, data in outlines:
            attrs = [(k, v) for k, v in kept if k != "fill"]
            if fill is not None:
                attrs.insert(0, ("fill", fill))
            if len(outlines) == 1:
                attrs.append(label)
            attrs.append(("d", data))
            paths.append("<path" + "".join(f' {k}="{v}"' for k, v in attrs) + "/>")
        if len(outlines) > 1:
            paths = [f'<g {label[0]}="{label[1]}">'] + ["  " + path for path in paths] + ["</g>"]
        pieces += [text[end:match.start()], ("\n" + indent).join(paths)]
        end = match.end()
    pieces.append(text[end:])
    result = "".join(pieces)
    name = os.path.basename(source)
    note = f"<!-- Drawn from source/{name} by scripts/outline-pictures: edit that file, then run it. -->\n"
    result = re.sub(r"(<svg\b[^>]*>\n)", lambda m: m.group(1) + "  " + note, result, count=1)
    if "<text" in result or "font-" in result:
        fail(f"{target} still names a font")
    ET.fromstring(result)
    if os.path.exists(target) and open(target, encoding="utf-8").read() == result:
        return
    open(target, "w", encoding="utf-8").write(result)
    print(f"outline-pictures: wrote {target} ({len(result.encode())} bytes)")


sources = [os.path.join(SOURCES, n if n.endswith(".svg") else n + ".svg") for n in names] \
    or sorted(glob.glob(os.path.join(SOURCES, "*.svg")))
if not sources:
    fail(f"no pictures in {SOURCES}/")
for source in sources:
    if not os.path.exists(source):
        fail(f"no {source}")
    outline(source, os.path.join(OUT, os.path.basename(source)))
