#!/usr/bin/env python3
"""Writes nowhere-cove.osm: the small fictional neighbourhood of the demo map.

Nowhere Cove lies on an empty stretch of the South Pacific (about 30.0 S,
140.0 W), far from any real town, so nobody mistakes it for a real place.
Run it again after changing the layout: python3 make_demo.py > nowhere-cove.osm
"""
import sys
from xml.sax.saxutils import quoteattr

LAT0, LON0 = -30.0, -140.0
DLAT = 0.0009    # about 100 m
DLON = 0.00104   # about 100 m at 30 degrees south
STEP = 4         # intermediate nodes per block

nodes = []       # (id, lat, lon, tags)
ways = []        # (id, refs, tags)
node_at = {}


def new_node(lat, lon, tags=()):
    nid = len(nodes) + 1
    nodes.append((nid, lat, lon, list(tags)))
    return nid


def grid_node(i, j):
    """Node at grid corner i (east) and j (north); shared by crossing streets."""
    key = (i * STEP, j * STEP)
    if key not in node_at:
        node_at[key] = new_node(LAT0 + j * DLAT, LON0 + i * DLON)
    return node_at[key]


def street_node(i4, j4):
    key = (i4, j4)
    if key not in node_at:
        node_at[key] = new_node(LAT0 + j4 * DLAT / STEP, LON0 + i4 * DLON / STEP)
    return node_at[key]


def new_way(refs, tags):
    wid = 100 + len(ways)
    ways.append((wid, refs, list(tags)))
    return wid


def street_refs(fixed, a, b, east_west):
    refs = []
    for k in range(a * STEP, b * STEP + 1):
        refs.append(street_node(k, fixed * STEP) if east_west else street_node(fixed * STEP, k))
    return refs


EAST_WEST = [("Harbour Street", "secondary"), ("Lantern Street", "residential"),
             ("Mill Street", "tertiary"), ("Orchard Street", "residential"),
             ("Quarry Street", "residential")]
NORTH_SOUTH = [("Alder Avenue", "residential"), ("Birch Avenue", "residential"),
               ("Cedar Avenue", "tertiary"), ("Damson Avenue", "residential"),
               ("Elder Avenue", "residential")]

# Streets: each cut in two ways at its middle crossing, as mappers do.
for j, (name, cls) in enumerate(EAST_WEST):
    new_way(street_refs(j, 0, 2, True), [("highway", cls), ("name", name)])
    new_way(street_refs(j, 2, 4, True), [("highway", cls), ("name", name)])
for i, (name, cls) in enumerate(NORTH_SOUTH):
    new_way(street_refs(i, 0, 4, False), [("highway", cls), ("name", name)])

# Harbour Street runs on east over the Silver River on a bridge.
bridge_start = street_node(4 * STEP, 0)
b1 = street_node(4 * STEP + 1, 0)
b2 = street_node(4 * STEP + 2, 0)
b3 = street_node(4 * STEP + 3, 0)
quay = street_node(5 * STEP, 0)
new_way([bridge_start, b1], [("highway", "secondary"), ("name", "Harbour Street")])
new_way([b1, b2], [("highway", "secondary"), ("name", "Harbour Street"), ("bridge", "yes"),
                   ("layer", "1")])
new_way([b2, b3, quay], [("highway", "secondary"), ("name", "Harbour Street")])
river = [new_node(LAT0 + (k - 3) * DLAT / 2, LON0 + 4.5 * DLON + (0.00012 if k % 2 else -0.00008))
         for k in range(14)]
new_way(river, [("waterway", "river"), ("name", "Silver River")])
new_way([street_node(4 * STEP + 3, 0), new_node(LAT0 - 0.0004, LON0 + 4.9 * DLON),
         new_node(LAT0 - 0.0008, LON0 + 5.0 * DLON)], [("highway", "footway"), ("name", "Quay Walk")])

# Traffic signals where Cedar Avenue crosses Mill Street, in the town's centre.
nodes[street_node(2 * STEP, 2 * STEP) - 1][3].append(("highway", "traffic_signals"))

# An unnamed service road ends on Mill Street (a T-junction).
mid = street_node(3 * STEP + 2, 2 * STEP)
yard = [mid, new_node(LAT0 + 2 * DLAT - 0.0003, LON0 + 3.5 * DLON),
        new_node(LAT0 + 2 * DLAT - 0.0005, LON0 + 3.5 * DLON)]
new_way(yard, [("highway", "service")])

# The tram runs along Mill Street, 8 m north of its centre line.
tram = [new_node(LAT0 + 2 * DLAT + 0.00007, LON0 + k * DLON / STEP) for k in range(0, 4 * STEP + 1)]
new_way(tram, [("railway", "tram"), ("name", "Tram 3")])
for k, stop in [(2, "Alder Gate"), (8, "Cedar Square"), (14, "Elder Corner")]:
    nodes[tram[k] - 1][3].extend([("railway", "tram_stop"), ("name", stop)])

# Willow Park between Orchard and Quarry Streets, with paths and a pond.
p = [(1.15, 3.15), (2.85, 3.15), (2.85, 3.85), (1.15, 3.85), (1.15, 3.15)]
park_refs = [new_node(LAT0 + y * DLAT, LON0 + x * DLON) for x, y in p[:-1]]
park_refs.append(park_refs[0])
new_way(park_refs, [("leisure", "park"), ("name", "Willow Park")])
path = [street_node(1 * STEP, 3 * STEP + 2)] + [
    new_node(LAT0 + (3.5 + 0.05 * ((k % 3) - 1)) * DLAT, LON0 + (1.0 + k * 0.1) * DLON)
    for k in range(1, 10)] + [street_node(2 * STEP, 3 * STEP + 2)]
new_way(path, [("highway", "footway"), ("name", "Willow Walk")])
steps = [path[5], new_node(LAT0 + 3.7 * DLAT, LON0 + 1.5 * DLON),
         new_node(LAT0 + 3.85 * DLAT, LON0 + 1.5 * DLON)]
new_way(steps, [("highway", "steps")])
pond = [(1.7, 3.3), (1.9, 3.3), (1.95, 3.42), (1.8, 3.45), (1.65, 3.4)]
pond_refs = [new_node(LAT0 + y * DLAT, LON0 + x * DLON) for x, y in pond]
pond_refs.append(pond_refs[0])
new_way(pond_refs, [("natural", "water"), ("name", "Duck Pond")])
nodes[path[3] - 1][3].extend([("amenity", "bench")])
nodes[path[7] - 1][3].extend([("amenity", "drinking_water")])

# Pedestrian crossings over Lantern Street at every avenue, with crossing ways:
# zebras, one with signals that sound and tactile paving at Cedar Avenue, and
# one with an island at Elder Avenue.
CROSSINGS = {2: [("crossing", "traffic_signals"), ("traffic_signals:sound", "yes"),
                 ("tactile_paving", "yes"), ("kerb", "lowered")],
             4: [("crossing", "zebra"), ("crossing:island", "yes")]}
for i in range(5):
    at = street_node(i * STEP + 1, 1 * STEP)
    nodes[at - 1][3].extend([("highway", "crossing")] + CROSSINGS.get(i, [("crossing", "zebra")]))
    s = new_node(LAT0 + DLAT - 0.00005, LON0 + (i + 0.25) * DLON)
    n = new_node(LAT0 + DLAT + 0.00005, LON0 + (i + 0.25) * DLON)
    new_way([s, at, n], [("highway", "footway"), ("footway", "crossing")])

# Bus stops along Harbour Street.
for i, name in [(1, "Harbour West"), (3, "Harbour East")]:
    new_node(LAT0 + 0.00006, LON0 + (i + 0.5) * DLON,
             [("highway", "bus_stop"), ("name", name), ("shelter", "yes")])

# Shops and amenities with addresses on Mill Street and Cedar Avenue.
SHOPS = [("shop", "bakery", "Crumb and Crust"), ("amenity", "cafe", "The Lantern Cafe"),
         ("amenity", "pharmacy", "Cove Pharmacy"), ("shop", "supermarket", "Fresh Tide"),
         ("amenity", "post_office", "Nowhere Cove Post Office"), ("shop", "books", "Page Turner"),
         ("shop", "greengrocer", "Green Basket"), ("amenity", "bank", "Cove Savings"),
         ("shop", "hairdresser", "Sharp Ends"), ("amenity", "restaurant", "Silver Spoon")]
for k, (key, val, name) in enumerate(SHOPS):
    x = 0.3 + k * 0.38
    new_node(LAT0 + 2 * DLAT - 0.00012, LON0 + x * DLON,
             [(key, val), ("name", name), ("addr:street", "Mill Street"),
              ("addr:housenumber", str(2 * k + 1)), ("addr:city", "Nowhere Cove"),
              ("opening_hours", "Mo-Sa 08:00-18:00")])

# Houses: small buildings with addresses along Lantern and Orchard Streets.
for j, street in [(1, "Lantern Street"), (3, "Orchard Street")]:
    for k in range(12):
        x = 0.2 + k * 0.32
        y = j * DLAT - 0.00030
        corners = [(0, 0), (0.00010, 0), (0.00010, 0.00012), (0, 0.00012)]
        refs = [new_node(LAT0 + y + dy, LON0 + x * DLON + dx) for dy, dx in corners]
        refs.append(refs[0])
        new_way(refs, [("building", "house"), ("addr:street", street),
                       ("addr:housenumber", str(2 * k + 2))])

# A school and a church with their grounds.
for (x, y, w, h), tags in [((0.25, 0.25, 0.5, 0.45), [("amenity", "school"), ("name", "Cove Primary School")]),
                           ((3.25, 1.25, 0.4, 0.4), [("building", "church"), ("name", "St Brendan's Church")])]:
    pts = [(x, y), (x + w, y), (x + w, y + h), (x, y + h)]
    refs = [new_node(LAT0 + b * DLAT, LON0 + a * DLON) for a, b in pts]
    refs.append(refs[0])
    new_way(refs, tags)

# The fountain stands exactly where the map's centre falls (the middle of the
# points' extent averaged with the middle of the lines' extent), so the first
# start, which puts the user there, begins on something that is announced.
new_node(-29.998312, -139.997464, [("amenity", "fountain"), ("name", "Cove Fountain")])


def write(out):
    out.write("<?xml version='1.0' encoding='UTF-8'?>\n")
    out.write('<osm version="0.6" generator="orvela make_demo.py">\n')
    lats = [n[1] for n in nodes]
    lons = [n[2] for n in nodes]
    out.write(f'  <bounds minlat="{min(lats):.7f}" minlon="{min(lons):.7f}" '
              f'maxlat="{max(lats):.7f}" maxlon="{max(lons):.7f}"/>\n')
    for nid, lat, lon, tags in nodes:
        head = f'  <node id="{nid}" version="1" lat="{lat:.7f}" lon="{lon:.7f}"'
        if not tags:
            out.write(head + "/>\n")
            continue
        out.write(head + ">\n")
        for k, v in tags:
            out.write(f"    <tag k={quoteattr(k)} v={quoteattr(v)}/>\n")
        out.write("  </node>\n")
    for wid, refs, tags in ways:
        out.write(f'  <way id="{wid}" version="1">\n')
        for r in refs:
            out.write(f'    <nd ref="{r}"/>\n')
        for k, v in tags:
            out.write(f"    <tag k={quoteattr(k)} v={quoteattr(v)}/>\n")
        out.write("  </way>\n")
    out.write("</osm>\n")


write(sys.stdout)
print(f"{len(nodes)} nodes, {len(ways)} ways", file=sys.stderr)
