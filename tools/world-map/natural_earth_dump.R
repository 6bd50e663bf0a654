# Dumps the Natural Earth 1:50m coastlines and country polygons (public domain, from the
# rnaturalearthdata package) as plain text for world_source.py:
#   C                      a coastline follows, one "lon lat" line per vertex
#   P <ADM0_A3> <hole>     a ring of a country polygon follows (hole: 1 for an inner ring)
# Usage: Rscript natural_earth_dump.R OUTPUT.txt
args <- commandArgs(trailingOnly = TRUE)
if (length(args) != 1) stop("usage: Rscript natural_earth_dump.R OUTPUT.txt")
suppressPackageStartupMessages({
  library(sp)
  library(rnaturalearthdata)
})

vertices <- function(coords) sprintf("%.6f %.6f", coords[, 1], coords[, 2])

chunks <- list()
for (feature in coastline50@lines) {
  for (line in feature@Lines) {
    chunks[[length(chunks) + 1]] <- c("C", vertices(line@coords))
  }
}
codes <- as.character(countries50@data$adm0_a3)
for (i in seq_along(countries50@polygons)) {
  for (ring in countries50@polygons[[i]]@Polygons) {
    chunks[[length(chunks) + 1]] <- c(sprintf("P %s %d", codes[i], as.integer(ring@hole)),
                                      vertices(ring@coords))
  }
}
writeLines(unlist(chunks), args[1])
