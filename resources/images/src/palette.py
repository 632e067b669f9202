"""The installer's colours. The first block comes from the layout documents; the rest extends them."""

SURFACE = (22, 17, 66)  # panel back colour of the documents
SURFACE_TOP = (30, 23, 86)  # the window frame is a touch lighter at the top
SURFACE_DEEP = (13, 9, 42)  # wells: the path box, the header's darkest shade
EDGE = (76, 62, 150)  # the 1-px inner line of frames and fields
EDGE_ALPHA = 0.7

TEXT = (235, 223, 255)  # primary text of the documents
TEXT_SECONDARY = (189, 189, 190)
LINK = (153, 153, 153)
DISABLED_TEXT = (154, 114, 234)
WHITE = (255, 255, 255)

ACCENT_A = (112, 72, 255)  # violet end of the accent
ACCENT_B = (190, 92, 255)  # magenta end of the accent
ACCENT_LIGHT = (196, 170, 255)
DANGER = (226, 58, 92)  # the close button warms to this when pressed

# Disabled accent: desaturated and darkened so the disabled text colour still reads on it.
DISABLED_FILL = (50, 41, 102)
DISABLED_EDGE = (72, 60, 132)
