// Local drawing of the two lines and the car marker on a plain background, in the Web Mercator
// projection of the map services, so the track shows without tiles, vendor library or network.
(function () {
  'use strict';

  var TILE = 256;

  function project(lat, lon, zoom) {
    var size = TILE * Math.pow(2, zoom);
    var s = Math.sin(Math.max(-85.05112878, Math.min(85.05112878, lat)) * Math.PI / 180);
    return {
      x: (lon + 180) / 360 * size,
      y: (0.5 - Math.log((1 + s) / (1 - s)) / (4 * Math.PI)) * size
    };
  }

  // options: center [lat, lon], zoom, lines {path: {color, opacity, width}, drived: {...}},
  // markerIcon (URL), markerAtCenter (bool).
  function PlainMap(container, options) {
    this.mode = 'plain';
    this.container = container;
    this.options = options;
    this.zoom = options.zoom;
    this.centerPos = options.center.slice();
    this.lines = { path: [], drived: [] };
    this.carPos = options.markerAtCenter ? options.center.slice() : null;
    this.canvas = document.createElement('canvas');
    this.canvas.className = 'plain-map';
    this.canvas.style.cssText = 'position:absolute;left:0;top:0;width:100%;height:100%;display:block';
    container.appendChild(this.canvas);
    this.icon = new Image();
    var self = this;
    this.icon.onload = function () { self.schedule(); };
    this.icon.src = options.markerIcon;
    window.addEventListener('resize', function () { self.schedule(); });
    this.schedule();
  }

  PlainMap.prototype.append = function (line, lat, lon) { this.lines[line].push([lat, lon]); this.schedule(); };
  PlainMap.prototype.clear = function (line) { this.lines[line] = []; this.schedule(); };
  PlainMap.prototype.car = function (lat, lon) {
    this.carPos = [lat, lon];
    this.centerPos = [lat, lon];
    this.schedule();
  };
  PlainMap.prototype.count = function (line) { return this.lines[line].length; };
  PlainMap.prototype.carPosition = function () { return this.carPos; };
  PlainMap.prototype.center = function () { return this.centerPos; };
  PlainMap.prototype.remove = function () { this.removed = true; this.canvas.remove(); };

  // One redraw per burst of calls; a hidden page has no animation frames, so a timer stands in.
  PlainMap.prototype.schedule = function () {
    if (this.pending || this.removed) return;
    this.pending = true;
    var self = this;
    var run = function () { if (self.pending) { self.pending = false; self.draw(); } };
    window.requestAnimationFrame(run);
    setTimeout(run, 50);
  };

  PlainMap.prototype.draw = function () {
    var c = this.canvas, ratio = window.devicePixelRatio || 1;
    var w = this.container.clientWidth, h = this.container.clientHeight;
    c.width = Math.max(1, Math.round(w * ratio));
    c.height = Math.max(1, Math.round(h * ratio));
    var g = c.getContext('2d');
    g.setTransform(ratio, 0, 0, ratio, 0, 0);
    g.fillStyle = '#eeebe3';
    g.fillRect(0, 0, w, h);
    var origin = project(this.centerPos[0], this.centerPos[1], this.zoom);
    var ox = origin.x - w / 2, oy = origin.y - h / 2, zoom = this.zoom;
    this.drawGrid(g, w, h, ox, oy);
    var self = this;
    ['path', 'drived'].forEach(function (name) {
      var style = self.options.lines[name], pts = self.lines[name];
      if (pts.length < 1) return;
      g.save();
      g.globalAlpha = style.opacity;
      g.strokeStyle = style.color;
      g.lineWidth = style.width;
      g.lineJoin = 'round';
      g.lineCap = 'round';
      g.beginPath();
      pts.forEach(function (p, i) {
        var q = project(p[0], p[1], zoom);
        if (i === 0) g.moveTo(q.x - ox, q.y - oy); else g.lineTo(q.x - ox, q.y - oy);
      });
      if (pts.length === 1) g.lineTo(project(pts[0][0], pts[0][1], zoom).x - ox + 0.1,
                                     project(pts[0][0], pts[0][1], zoom).y - oy);
      g.stroke();
      g.restore();
    });
    if (this.carPos) this.drawCar(g, project(this.carPos[0], this.carPos[1], zoom), ox, oy);
  };

  PlainMap.prototype.drawGrid = function (g, w, h, ox, oy) {
    g.strokeStyle = '#dcd8cc';
    g.lineWidth = 1;
    g.beginPath();
    for (var x = -((ox % TILE) + TILE) % TILE; x < w; x += TILE) { g.moveTo(x + 0.5, 0); g.lineTo(x + 0.5, h); }
    for (var y = -((oy % TILE) + TILE) % TILE; y < h; y += TILE) { g.moveTo(0, y + 0.5); g.lineTo(w, y + 0.5); }
    g.stroke();
  };

  PlainMap.prototype.drawCar = function (g, q, ox, oy) {
    var x = q.x - ox, y = q.y - oy;
    if (this.icon.complete && this.icon.naturalWidth > 0) {
      g.drawImage(this.icon, x - this.icon.naturalWidth / 2, y - this.icon.naturalHeight / 2);
      return;
    }
    g.fillStyle = '#d02020';
    g.beginPath();
    g.arc(x, y, 7, 0, 2 * Math.PI);
    g.fill();
  };

  window.PlainMap = PlainMap;
})();
