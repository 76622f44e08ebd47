// The board's page and the overlay: the state from the program as it
// comes, and a new connection whenever the old one is lost.
'use strict';
(function () {
  const element = (id) => document.getElementById(id);
  const text = (id, value) => {
    const e = element(id);
    if (e && e.textContent !== value) e.textContent = value;
  };
  // A text in a box of its own shrinks until it fits, to a quarter of its
  // size at most, as on the hall's scoreboard.
  const fit = (e) => {
    e.style.fontSize = '';
    if (!e.classList.contains('fit') || !e.getClientRects().length) return;
    const largest = parseFloat(getComputedStyle(e).fontSize);
    let size = largest;
    while (size > largest / 4 && (e.scrollHeight > e.clientHeight + 1 || e.scrollWidth > e.clientWidth + 1)) {
      size *= 0.9;
      e.style.fontSize = size + 'px';
    }
  };
  const fitAll = () => document.querySelectorAll('.fit').forEach(fit);
  window.addEventListener('resize', fitAll);
  let source = null;
  let watchdog = 0;

  function show(state) {
    for (const side of ['red', 'blue']) {
      text(side + '-name', state[side].name);
      text(side + '-flags', String(state[side].flags));
      // Who performs, where a bout list names them.
      const who = state[side].performer || {name: '', club: ''};
      text(side + '-performer-name', who.name);
      text(side + '-performer-club', who.club);
      element(side + '-performer').hidden = !who.name;
    }
    text('bout', state.bout || '');
    element('bout').hidden = !state.bout;
    text('field-caption', state.field.caption);
    text('field-number', state.field.number);
    text('minutes', state.clock.minutes);
    text('tens', state.clock.tens);
    text('units', state.clock.units);
    const clock = element('clock');
    clock.hidden = !state.clock.shown;
    clock.style.color = state.clock.colour;
    // Mirrored, red (Aka) comes first, as on the hall's scoreboard.
    element('red').classList.toggle('first', state.mirrored);
    element('red').classList.toggle('second', !state.mirrored);
    element('blue').classList.toggle('first', !state.mirrored);
    element('blue').classList.toggle('second', state.mirrored);
    fitAll();
  }

  function live(on) {
    document.body.classList.toggle('offline', !on);
  }

  // The program sends the state at least every few seconds; silence means
  // the connection is gone, even where no error says so.
  function expect() {
    clearTimeout(watchdog);
    watchdog = setTimeout(function () {
      live(false);
      connect();
    }, 12000);
  }

  function connect() {
    if (source) source.close();
    source = new EventSource('/events');
    source.onmessage = function (event) {
      show(JSON.parse(event.data));
      live(true);
      expect();
    };
    source.onerror = function () {
      live(false);
      // The browser tries again by itself, unless it gave up.
      if (source.readyState === EventSource.CLOSED) setTimeout(connect, 1000);
    };
    expect();
  }

  connect();
})();
