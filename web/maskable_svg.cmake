# Writes OUT: the picture IN (a 64x64 SVG) shrunk into the middle of a square of COLOUR, so that
# a launcher's round or rounded mask never cuts it (the safe zone is the centred circle of 80%).
file(READ ${IN} picture)
string(REGEX REPLACE "^.*<svg[^>]*>" "" inner "${picture}")
string(REGEX REPLACE "</svg>.*$" "" inner "${inner}")
file(WRITE ${OUT} "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">
  <rect width=\"64\" height=\"64\" fill=\"${COLOUR}\"/>
  <g transform=\"translate(12.8 12.8) scale(0.6)\">${inner}</g>
</svg>
")
