// The page of `vantile-sim serve`: draws the phone's screen from the frames the server sends, turns the mouse, the
// trackpad and the keyboard into touches and typing, and keeps the side panel in step with the phone's state.
// Plain script, no framework and nothing from the network but this server, so that it works offline.
'use strict';

(() => {
  const FRAME_HEADER = 16;
  // The languages the phone has data for, when the server does not list them.
  const LOCALES = ['en', 'en-GB', 'de', 'ja'];
  const MAX_LATENCIES = 1000;

  const $ = (id) => document.getElementById(id);
  const canvas = $('screen');
  const context = canvas.getContext('2d');
  const deviceBox = $('device');

  // What the test and a curious developer can read from the console. `latencies` holds, for each input that was
  // followed by a frame, the milliseconds from the browser's event to that frame drawn on the canvas; `drawTimes`
  // the part of each spent in the page, from the frame's arrival to drawn (decoding the PNG, mostly).
  const vantile = {
    connected: false,
    device: null,
    state: null,
    prefs: {},
    records: [],
    // Each boot of the phone (the first, each respring, each new profile) begins with a hello.
    hellos: 0,
    framesDrawn: 0,
    latencies: [],
    drawTimes: [],
  };
  window.vantile = vantile;

  let socket = null;
  let reconnectDelay = 250;
  // Frames decode in parallel but are drawn in the order they came, since a later region may cover an earlier one.
  let drawChain = Promise.resolve();
  // The time stamps of the inputs not yet followed by a drawn frame. Moves that arrive while the phone draws are
  // answered by one frame together, and each of them waited for it.
  let pendingInputs = [];

  // ---- the connection ----------------------------------------------------------------------------------------

  function connect() {
    const scheme = location.protocol === 'https:' ? 'wss:' : 'ws:';
    socket = new WebSocket(`${scheme}//${location.host}/ws`);
    socket.binaryType = 'arraybuffer';
    socket.addEventListener('open', () => {
      reconnectDelay = 250;
      vantile.connected = true;
      showConnection('Connected', false);
    });
    socket.addEventListener('message', (event) => {
      if (typeof event.data === 'string') {
        let message;
        try {
          message = JSON.parse(event.data);
        } catch (error) {
          showError(`The server sent a message that is not JSON: ${error.message}`);
          return;
        }
        handleMessage(message);
      } else {
        drawFrame(event.data);
      }
    });
    socket.addEventListener('close', () => {
      vantile.connected = false;
      endPointer('cancel');
      showConnection('Disconnected — reconnecting…', true);
      setTimeout(connect, reconnectDelay);
      reconnectDelay = Math.min(reconnectDelay * 2, 4000);
    });
  }

  function send(message) {
    if (!socket || socket.readyState !== WebSocket.OPEN) {
      showError('Not connected to the simulator.');
      return false;
    }
    socket.send(JSON.stringify(message));
    return true;
  }

  function sendCommand(line) {
    send({ type: 'command', line });
  }

  function showConnection(text, offline) {
    const element = $('connection');
    element.textContent = text;
    element.classList.toggle('offline', offline);
  }

  let errorTimer = null;
  function showError(text) {
    const element = $('error');
    element.textContent = text;
    element.hidden = false;
    clearTimeout(errorTimer);
    errorTimer = setTimeout(() => { element.hidden = true; }, 8000);
  }

  function handleMessage(message) {
    switch (message.type) {
      case 'hello': applyHello(message); break;
      case 'state': applyState(message); break;
      case 'prefs': applyPrefs(message.domain || {}); break;
      case 'record': addRecord(message); break;
      case 'error': showError(message.message || 'The simulator reported an error.'); break;
      case 'respring': showConnection('Respringing…', false); break;
      default: break;  // Newer servers may say more; what this page does not know it leaves alone.
    }
  }

  // ---- the screen --------------------------------------------------------------------------------------------

  function applyHello(hello) {
    const device = hello.device;
    vantile.device = device;
    vantile.hellos += 1;
    const width = Math.round(device.width * device.scale);
    const height = Math.round(device.height * device.scale);
    // Setting a canvas's size clears it, so only a new profile does; the server follows with a full frame.
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    deviceBox.classList.toggle('face-id', !!device.faceID);
    deviceBox.classList.toggle('touch-id', !device.faceID);
    document.documentElement.style.setProperty('--screen-w', device.width);
    document.documentElement.style.setProperty('--screen-h', device.height);
    fillSelect($('profile'), hello.profiles || [device.name], device.name);
    fillSelect($('locale'), hello.locales || LOCALES, vantile.state ? vantile.state.locale : null);
    if (typeof hello.paused === 'boolean') showPaused(hello.paused);
    // Every record of the boot follows the hello again.
    vantile.records = [];
    $('records').replaceChildren();
    fitDevice();
    showConnection(`${device.name} — ${width} × ${height} px`, false);
  }

  function drawFrame(buffer) {
    if (buffer.byteLength < FRAME_HEADER) {
      return;
    }
    const header = new DataView(buffer, 0, FRAME_HEADER);
    const x = header.getUint32(0, true);
    const y = header.getUint32(4, true);
    const arrived = performance.now();
    const blob = new Blob([new Uint8Array(buffer, FRAME_HEADER)], { type: 'image/png' });
    const decoded = createImageBitmap(blob);
    drawChain = drawChain.then(() => decoded).then((bitmap) => {
      context.drawImage(bitmap, x, y);
      bitmap.close();
      vantile.framesDrawn += 1;
      if (pendingInputs.length > 0) {
        const now = performance.now();
        for (const sent of pendingInputs) {
          vantile.latencies.push(now - sent);
        }
        vantile.drawTimes.push(now - arrived);
        vantile.latencies.splice(0, Math.max(0, vantile.latencies.length - MAX_LATENCIES));
        vantile.drawTimes.splice(0, Math.max(0, vantile.drawTimes.length - MAX_LATENCIES));
        pendingInputs = [];
      }
    }, (error) => {
      showError(`A frame could not be decoded: ${error.message}`);
    });
  }

  // The whole device, outline included, fits the stage; the canvas keeps the phone's pixels and the browser scales.
  function fitDevice() {
    const device = vantile.device;
    if (!device) {
      return;
    }
    const faceID = !!device.faceID;
    const outerWidth = device.width + (faceID ? 28 : 44) + 6;
    const outerHeight = device.height + (faceID ? 28 : 200) + 6;
    const stage = $('stage');
    const availableWidth = stage.clientWidth - 24;
    const availableHeight = window.innerHeight - 24 - $('connection').offsetHeight - 8;
    const pt = Math.max(0.2, Math.min(availableWidth / outerWidth, availableHeight / outerHeight));
    document.documentElement.style.setProperty('--pt', `${pt}px`);
  }

  window.addEventListener('resize', fitDevice);

  // ---- touches -----------------------------------------------------------------------------------------------

  let activePointer = null;

  // A point on the screen in the phone's points; a captured pointer outside the canvas stays on its edge, as a
  // finger cannot leave the glass.
  function toPoints(event) {
    const rect = canvas.getBoundingClientRect();
    const device = vantile.device;
    const x = ((event.clientX - rect.left) / rect.width) * device.width;
    const y = ((event.clientY - rect.top) / rect.height) * device.height;
    const clamp = (value, limit) => Math.min(Math.max(value, 0), limit);
    return {
      x: Math.round(clamp(x, device.width) * 100) / 100,
      y: Math.round(clamp(y, device.height) * 100) / 100,
    };
  }

  // An input that leaves the screen as it was (a tap on nothing) waits for whatever frame comes next; the list is
  // kept short so that such inputs do not pile up.
  function noteInput(t) {
    pendingInputs.push(t);
    if (pendingInputs.length > 200) {
      pendingInputs.shift();
    }
  }

  function sendPointer(phase, event) {
    const point = toPoints(event);
    // The event's own time stamp shares performance.now()'s origin and is closer to the hand than the handler.
    const t = event.timeStamp || performance.now();
    if (send({ type: 'pointer', phase, x: point.x, y: point.y, t: Math.round(t * 10) / 10 })) {
      noteInput(t);
    }
  }

  canvas.addEventListener('pointerdown', (event) => {
    if (!vantile.device || event.button !== 0 || activePointer !== null) {
      return;
    }
    canvas.focus({ preventScroll: true });
    activePointer = { id: event.pointerId, last: event };
    canvas.setPointerCapture(event.pointerId);
    sendPointer('down', event);
    event.preventDefault();
  });

  canvas.addEventListener('pointermove', (event) => {
    if (activePointer === null || event.pointerId !== activePointer.id) {
      return;
    }
    activePointer.last = event;
    sendPointer('move', event);
  });

  canvas.addEventListener('pointerup', (event) => {
    if (activePointer === null || event.pointerId !== activePointer.id) {
      return;
    }
    activePointer = null;
    sendPointer('up', event);
  });

  canvas.addEventListener('pointercancel', (event) => {
    if (activePointer !== null && event.pointerId === activePointer.id) {
      endPointer('cancel');
    }
  });

  // Capture lost without an up (the window lost focus, the element went away): the touch did not end on the glass.
  canvas.addEventListener('lostpointercapture', (event) => {
    if (activePointer !== null && event.pointerId === activePointer.id) {
      endPointer('cancel');
    }
  });

  window.addEventListener('blur', () => endPointer('cancel'));
  document.addEventListener('visibilitychange', () => {
    if (document.hidden) {
      endPointer('cancel');
    }
  });

  function endPointer(phase) {
    if (activePointer === null) {
      return;
    }
    const last = activePointer.last;
    activePointer = null;
    if (socket && socket.readyState === WebSocket.OPEN && vantile.device) {
      const point = toPoints(last);
      socket.send(JSON.stringify({ type: 'pointer', phase, x: point.x, y: point.y, t: performance.now() }));
    }
  }

  canvas.addEventListener('contextmenu', (event) => event.preventDefault());

  // ---- wheel and two-finger scrolling ------------------------------------------------------------------------

  // Deltas are gathered per animation frame: a trackpad sends far more wheel events than the phone draws frames.
  let wheel = null;

  canvas.addEventListener('wheel', (event) => {
    if (!vantile.device) {
      return;
    }
    event.preventDefault();
    const rect = canvas.getBoundingClientRect();
    const pointsPerPixel = vantile.device.width / rect.width;
    let unit = pointsPerPixel;
    if (event.deltaMode === WheelEvent.DOM_DELTA_LINE) {
      unit = 16;
    } else if (event.deltaMode === WheelEvent.DOM_DELTA_PAGE) {
      unit = vantile.device.height;
    }
    if (wheel === null) {
      wheel = { dx: 0, dy: 0, t: 0 };
      requestAnimationFrame(flushWheel);
    }
    wheel.dx += event.deltaX * unit;
    wheel.dy += event.deltaY * unit;
    wheel.t = event.timeStamp || performance.now();
    noteInput(wheel.t);
  }, { passive: false });

  function flushWheel() {
    const gathered = wheel;
    wheel = null;
    const dx = Math.round(gathered.dx * 100) / 100;
    const dy = Math.round(gathered.dy * 100) / 100;
    if (dx !== 0 || dy !== 0) {
      send({ type: 'wheel', dx, dy, t: Math.round(gathered.t * 10) / 10 });
    }
  }

  // ---- the keyboard ------------------------------------------------------------------------------------------

  const KEYS = { Enter: 'Return', Escape: 'Escape', Backspace: 'Backspace' };

  canvas.addEventListener('keydown', (event) => {
    if (event.ctrlKey || event.metaKey || event.altKey || event.isComposing) {
      return;
    }
    if (KEYS[event.key]) {
      send({ type: 'key', key: KEYS[event.key] });
      event.preventDefault();
    } else if (event.key.length === 1 || [...event.key].length === 1) {
      send({ type: 'text', text: event.key });
      event.preventDefault();
    }
  });

  document.addEventListener('paste', (event) => {
    if (document.activeElement !== canvas) {
      return;
    }
    const text = event.clipboardData ? event.clipboardData.getData('text/plain') : '';
    if (text) {
      send({ type: 'text', text });
      event.preventDefault();
    }
  });

  // ---- the panel: device -------------------------------------------------------------------------------------

  function fillSelect(select, values, selected) {
    const current = [...select.options].map((option) => option.value);
    if (current.length !== values.length || current.some((value, i) => value !== values[i])) {
      select.replaceChildren(...values.map((value) => new Option(value, value)));
    }
    if (selected !== null && selected !== undefined) {
      select.value = selected;
    }
  }

  // A scenario argument: a plain word where it can be, else a double-quoted string with \" and \\ escaped.
  function quoteArgument(text) {
    return /^[^\s"#\\]+$/.test(text) ? text : quoteString(text);
  }

  function quoteString(text) {
    return `"${text.replace(/\\/g, '\\\\').replace(/"/g, '\\"')}"`;
  }

  function applyState(state) {
    vantile.state = state;
    const keep = (element) => document.activeElement === element;
    if (!keep($('appearance'))) $('appearance').value = state.appearance;
    if (!keep($('locale')) && state.locale) $('locale').value = state.locale;
    if (!keep($('timezone'))) $('timezone').value = state.timezone || '';
    if (!keep($('carrier'))) $('carrier').value = state.carrier || '';
    for (const radio of ['wifi', 'cellular', 'bluetooth', 'airplane']) {
      $(radio).checked = !!state[radio];
    }
    if (state.clock) {
      $('clock').textContent = `Phone clock: ${state.clock.replace('T', ' ').replace('Z', ' UTC')}` +
        (state.paused ? ' (paused)' : '');
      if (!keep($('date'))) $('date').value = state.clock.slice(0, 16);
    }
    showPaused(!!state.paused);
    if (typeof state.recordedLines === 'number') {
      $('recorded-lines').textContent = String(state.recordedLines);
    }
    if (typeof state.boot === 'number') {
      $('boot').textContent = String(state.boot);
    }
  }

  function showPaused(paused) {
    $('pause').disabled = paused;
    $('resume').disabled = !paused;
    $('step').disabled = !paused;
  }

  $('profile').addEventListener('change', (event) => send({ type: 'profile', name: event.target.value }));
  $('appearance').addEventListener('change', (event) => sendCommand(`appearance ${event.target.value}`));
  $('locale').addEventListener('change', (event) => sendCommand(`locale ${event.target.value}`));
  $('date-form').addEventListener('submit', (event) => {
    event.preventDefault();
    const value = $('date').value;  // YYYY-MM-DDTHH:MM
    if (value) sendCommand(`date ${value.slice(0, 10)} ${value.slice(11, 16)}`);
  });
  $('timezone-form').addEventListener('submit', (event) => {
    event.preventDefault();
    const zone = $('timezone').value.trim();
    if (zone) sendCommand(`timezone ${quoteArgument(zone)}`);
  });
  $('carrier-form').addEventListener('submit', (event) => {
    event.preventDefault();
    const name = $('carrier').value.trim();
    sendCommand(name ? `carrier ${quoteArgument(name)}` : 'carrier none');
  });
  for (const element of document.querySelectorAll('[data-radio]')) {
    element.addEventListener('change', () => {
      sendCommand(`${element.dataset.radio} ${element.checked ? 'on' : 'off'}`);
    });
  }
  $('respring').addEventListener('click', () => sendCommand('respring'));

  $('pause').addEventListener('click', () => send({ type: 'pause' }));
  $('resume').addEventListener('click', () => send({ type: 'resume' }));
  $('step').addEventListener('click', () => {
    const seconds = Number($('step-seconds').value);
    if (seconds > 0) send({ type: 'step', seconds });
  });

  // ---- the panel: the add-on's preferences -------------------------------------------------------------------

  // The scenario type of a stored value, or null for what the panel shows but cannot write (data, dictionaries).
  function typeOf(value) {
    if (typeof value === 'boolean') return 'bool';
    if (typeof value === 'number') return Number.isInteger(value) ? 'int' : 'real';
    if (typeof value === 'string') return 'string';
    if (Array.isArray(value) && value.every((item) => typeof item === 'string')) return 'strings';
    return null;
  }

  // The value part of a `pref` line, or an Error saying why the text is not one of that type.
  function prefArgument(type, text) {
    switch (type) {
      case 'bool': {
        const word = text.trim().toLowerCase();
        if (['yes', 'true', 'on', '1'].includes(word)) return 'yes';
        if (['no', 'false', 'off', '0'].includes(word)) return 'no';
        return new Error(`"${text}" is not yes or no`);
      }
      case 'int':
        return /^\s*-?\d+\s*$/.test(text) ? text.trim() : new Error(`"${text}" is not a whole number`);
      case 'real':
        return text.trim() !== '' && Number.isFinite(Number(text)) ? text.trim() : new Error(`"${text}" is not a number`);
      case 'string':
        return quoteString(text);
      case 'strings': {
        let list;
        try {
          list = JSON.parse(text);
        } catch (error) {
          return new Error(`not a JSON list: ${error.message}`);
        }
        if (!Array.isArray(list) || !list.every((item) => typeof item === 'string')) {
          return new Error('a list of strings is wanted, such as ["Wi-Fi", "Battery"]');
        }
        return JSON.stringify(list);
      }
      default:
        return new Error(`the panel cannot write a value of type ${type}`);
    }
  }

  function storePref(key, type, text) {
    const argument = prefArgument(type, text);
    if (argument instanceof Error) {
      showError(`${key}: ${argument.message}`);
      return;
    }
    sendCommand(`pref ${quoteArgument(key)} ${type} ${argument}`);
  }

  function displayText(value, type) {
    if (type === 'strings') return JSON.stringify(value);
    if (type === null) return JSON.stringify(value);
    return String(value);
  }

  function makeEditor(key, type) {
    if (type === 'bool') {
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.addEventListener('change', () => storePref(key, 'bool', box.checked ? 'yes' : 'no'));
      return box;
    }
    const input = document.createElement('input');
    input.spellcheck = false;
    if (type === null) {
      input.readOnly = true;
      return input;
    }
    input.addEventListener('change', () => storePref(key, type, input.value));
    input.addEventListener('keydown', (event) => {
      if (event.key === 'Enter') input.blur();
    });
    return input;
  }

  function applyPrefs(domain) {
    vantile.prefs = domain;
    const body = document.querySelector('#prefs tbody');
    const rows = new Map([...body.rows].map((row) => [row.dataset.key, row]));
    const keys = Object.keys(domain).sort();
    for (const [key, row] of rows) {
      if (!(key in domain)) row.remove();
    }
    keys.forEach((key, index) => {
      const value = domain[key];
      const type = typeOf(value);
      let row = rows.get(key);
      if (!row || row.dataset.type !== String(type)) {
        if (row) row.remove();
        row = document.createElement('tr');
        row.dataset.key = key;
        row.dataset.type = String(type);
        const keyCell = row.insertCell();
        keyCell.textContent = key;
        row.insertCell().textContent = type || 'other';
        row.insertCell().append(makeEditor(key, type));
        const remove = document.createElement('button');
        remove.type = 'button';
        remove.textContent = '✕';
        remove.title = `Remove ${key}`;
        remove.addEventListener('click', () => sendCommand(`pref-remove ${quoteArgument(key)}`));
        row.insertCell().append(remove);
      }
      const editor = row.cells[2].firstChild;
      // What the user is typing is not overwritten; the stored value comes back once the field is left.
      if (document.activeElement !== editor) {
        if (type === 'bool') {
          editor.checked = value;
        } else {
          editor.value = displayText(value, type);
        }
      }
      if (body.rows[index] !== row) body.insertBefore(row, body.rows[index] || null);
    });
  }

  $('add-pref').addEventListener('click', () => {
    const key = $('new-key').value.trim();
    if (!key) {
      showError('A preference needs a key.');
      return;
    }
    storePref(key, $('new-type').value, $('new-value').value);
    $('new-key').value = '';
    $('new-value').value = '';
  });

  // ---- the panel: records ------------------------------------------------------------------------------------

  function addRecord(record) {
    vantile.records.push(record);
    const item = document.createElement('li');
    const kind = document.createElement('span');
    kind.className = 'kind';
    kind.textContent = record.kind;
    item.append(kind, document.createTextNode(record.text || ''));
    if (record.time) {
      // The day is the phone's clock's, shown in the panel above; the time of day tells records apart.
      const time = document.createElement('time');
      time.dateTime = record.time;
      time.textContent = record.time.replace(/^.*T/, '').replace(/(\.\d+)?Z$/, '');
      item.append(time);
    }
    const list = $('records');
    list.append(item);
    list.scrollTop = list.scrollHeight;
  }

  connect();
})();
