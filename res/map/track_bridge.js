// The five calls of the viewer, for every map page. The page keeps the two lines and the car
// position itself and hands them to whichever drawing is active: the map service's own, or the
// plain local drawing when the service cannot be reached. Calls never throw and never show
// anything; calls made before any drawing exists are kept and drawn when it arrives.
(function () {
  'use strict';
  window.onerror = function () { return true; };
  window.addEventListener('unhandledrejection', function (e) { e.preventDefault(); });

  var model = { path: [], drived: [], car: null };
  var drawing = null;

  function num(v) { v = Number(v); return isFinite(v) ? v : NaN; }
  function valid(lat, lon) { return !isNaN(lat) && !isNaN(lon); }
  function guard(fn) {
    return function () { try { return fn.apply(null, arguments); } catch (e) { return undefined; } };
  }

  function replay() {
    drawing.clear('path');
    drawing.clear('drived');
    model.path.forEach(function (p) { drawing.append('path', p[0], p[1]); });
    model.drived.forEach(function (p) { drawing.append('drived', p[0], p[1]); });
    if (model.car) drawing.car(model.car[0], model.car[1]);
  }

  window.VeltrixTrack = {
    // Makes `d` the active drawing and gives it everything received so far.
    use: guard(function (d) { drawing = d; replay(); }),
    active: function () { return drawing; },
    model: model
  };

  window.path_plot = guard(function (lat, lon) {
    lat = num(lat); lon = num(lon);
    if (!valid(lat, lon)) return;
    model.path.push([lat, lon]);
    if (drawing) drawing.append('path', lat, lon);
  });
  window.path_delete = guard(function () {
    model.path = [];
    if (drawing) drawing.clear('path');
  });
  window.pathdrived_plot = guard(function (lat, lon) {
    lat = num(lat); lon = num(lon);
    if (!valid(lat, lon)) return;
    model.drived.push([lat, lon]);
    if (drawing) drawing.append('drived', lat, lon);
  });
  window.pathdrived_delete = guard(function () {
    model.drived = [];
    if (drawing) drawing.clear('drived');
  });
  window.movpos = guard(function (lat, lon) {
    lat = num(lat); lon = num(lon);
    if (!valid(lat, lon)) return;
    model.car = [lat, lon];
    model.drived.push([lat, lon]);
    if (drawing) {
      drawing.car(lat, lon);
      drawing.append('drived', lat, lon);
    }
  });

  // What the active drawing holds: for diagnostics and the tests of the viewer.
  window.map_state = guard(function () {
    var d = drawing;
    return {
      mode: d ? d.mode : 'none',
      path: d ? d.count('path') : 0,
      drived: d ? d.count('drived') : 0,
      car: d ? d.carPosition() : null,
      center: d ? d.center() : null
    };
  });
})();
