'use strict';
// The web remote's page: the display pushed over a WebSocket, the controls and
// the chat sent back on it. Every text from the server is set as text, never as markup.
(() => {
  const $ = (id) => document.getElementById(id);
  // The keys beside the modes: digits, the decimal point, Enter and the functions.
  const KEYPAD = ['1', '2', '3', 'PRI', '4', '5', '6', 'DLY', '7', '8', '9', 'L/O', '.', '0', 'E', 'DAT', 'Lgt'];
  const MODES = ['SCAN', 'MAN', 'TRNK', 'Hld', 'Lmt', 'SVC', 'SRCH'];
  const LAMPS = [['data', 'DATA'], ['att', 'ATT'], ['pri', 'PRI'], ['dly', 'DLY'], ['lo', 'L/O']];
  const state = {};
  let socket = null;
  let control = false;
  let retry = 1000;

  function setText(id, text) { $(id).textContent = text == null ? '' : String(text); }
  function setLink(text) { setText('link', text); }
  function showError(id, text) { setText(id, text || ''); }

  function send(message) {
    if (socket && socket.readyState === WebSocket.OPEN) socket.send(JSON.stringify(message));
  }

  function button(label, onClick, extraClass) {
    const b = document.createElement('button');
    b.type = 'button';
    b.textContent = label;
    if (extraClass) b.className = extraClass;
    b.addEventListener('click', onClick);
    return b;
  }

  function build() {
    for (const k of MODES) $('modes').append(button(k, () => send({ type: 'key', key: k }), 'control'));
    for (const k of KEYPAD) $('keypad').append(button(k, () => send({ type: 'key', key: k }), 'control'));
    for (const [key, label] of LAMPS) {
      const s = document.createElement('span');
      s.className = 'lamp';
      s.id = 'lamp-' + key;
      s.textContent = label;
      $('lamps').append(s);
    }
    for (let b = 1; b <= 10; ++b) {
      const el = button(String(b), () => send({ type: 'bank', bank: b }), 'bank control');
      el.id = 'bank-' + b;
      el.setAttribute('aria-pressed', 'false');
      el.title = 'Bank ' + b + ': red when scanned';
      $('banks').append(el);
    }
    $('lockout').classList.add('control');
    $('lockout').addEventListener('click', () => send({ type: 'key', key: 'L/O' }));
    $('frequency-form').addEventListener('submit', (e) => {
      e.preventDefault();
      send({ type: 'frequency', frequency: $('frequency-in').value });
      $('frequency-in').value = '';
    });
    $('channel-form').addEventListener('submit', (e) => {
      e.preventDefault();
      send({ type: 'channel', channel: Number($('channel-in').value) });
      $('channel-in').value = '';
    });
    $('chat-form').addEventListener('submit', (e) => {
      e.preventDefault();
      const text = $('chat-in').value.trim();
      if (!text) return;
      send({ type: 'chat', text });
      addChat('you', text);
      $('chat-in').value = '';
    });
    $('login-form').addEventListener('submit', login);
    $('logout').addEventListener('click', logout);
  }

  function render() {
    $('offline').hidden = !state.offline;
    setText('mode', state.mode);
    setText('frequency', state.frequency);
    setText('channel', state.channel);
    setText('type', state.type);
    setText('name', state.name);
    setText('id', state.id);
    setText('idName', state.idName);
    setText('idType', state.idType);
    setText('system', state.system);
    setText('trunkName', state.trunkName);
    $('sq').classList.toggle('on', !!state.squelchOpen);
    $('heard').classList.toggle('on', !!state.idHeard);
    $('pri').classList.toggle('on', !!state.priority);
    const lamps = state.lamps || {};
    for (const [key] of LAMPS) $('lamp-' + key).classList.toggle('on', !!lamps[key]);
    const banks = new Set(state.banks || []);
    for (let b = 1; b <= 10; ++b) {
      $('bank-' + b).classList.toggle('on', banks.has(b));
      $('bank-' + b).setAttribute('aria-pressed', banks.has(b) ? 'true' : 'false');
    }
  }

  function setControl(allowed) {
    control = allowed;
    for (const el of document.querySelectorAll('.control, #controls input, #controls button, #chat input, #chat button'))
      el.disabled = !allowed;
    $('logout').hidden = !allowed;
  }

  function hitRow(hit) {
    const tr = document.createElement('tr');
    const time = (hit.time || '').replace('T', ' ').slice(11);
    const who = [hit.name, hit.id].filter(Boolean).join(' · ') || (hit.type + ' ' + hit.place);
    for (const [text, cls] of [[time, ''], [hit.frequency, 'num'], [who, ''], [Number(hit.seconds).toFixed(1), 'num']]) {
      const td = document.createElement('td');
      td.textContent = text;
      if (cls) td.className = cls;
      tr.append(td);
    }
    return tr;
  }

  function addHit(hit, atTop) {
    const body = $('hits');
    atTop ? body.prepend(hitRow(hit)) : body.append(hitRow(hit));
    while (body.rows.length > 100) body.deleteRow(body.rows.length - 1);
  }

  function addChat(from, text) {
    const li = document.createElement('li');
    const who = document.createElement('span');
    who.className = 'from';
    who.textContent = from + ':';
    li.append(who, document.createTextNode(text));
    $('chat-log').append(li);
    $('chat-log').scrollTop = $('chat-log').scrollHeight;
  }

  function onMessage(event) {
    let m;
    try { m = JSON.parse(event.data); } catch (e) { return; }
    const data = m.data || {};
    if (m.type === 'snapshot') {
      for (const k of Object.keys(state)) delete state[k];
      Object.assign(state, data.state || {});
      $('hits').replaceChildren();
      for (const hit of data.hits || []) addHit(hit, false);
      setControl(!!data.control);
      $('login').hidden = !!data.control;
      render();
    } else if (m.type === 'state') {
      for (const [k, v] of Object.entries(data)) v === null ? delete state[k] : (state[k] = v);
      render();
    } else if (m.type === 'hit') {
      addHit(data, true);
    } else if (m.type === 'chat') {
      addChat(data.from || 'operator', data.text || '');
    } else if (m.type === 'error') {
      showError('control-error', data.error);
    }
  }

  function connect() {
    const scheme = location.protocol === 'https:' ? 'wss://' : 'ws://';
    socket = new WebSocket(scheme + location.host + '/ws');
    socket.addEventListener('open', () => { setLink('Live'); retry = 1000; });
    socket.addEventListener('message', onMessage);
    socket.addEventListener('close', () => {
      setLink('Connection lost: trying again…');
      setControl(false);
      setTimeout(start, retry);
      retry = Math.min(retry * 2, 30000);
    });
  }

  async function start() {
    let r;
    try { r = await fetch('/api/status', { credentials: 'same-origin' }); } catch (e) {
      setLink('Vexlor does not answer: trying again…');
      setTimeout(start, retry);
      retry = Math.min(retry * 2, 30000);
      return;
    }
    if (r.status === 401) {
      setLink('Log in to watch');
      $('login').hidden = false;
      $('phrase').focus();
      return;
    }
    if (!r.ok) {
      const body = await r.json().catch(() => ({}));
      setLink(body.error || ('Refused: ' + r.status));
      return;
    }
    const body = await r.json();
    Object.assign(state, body.state || {});
    render();
    $('login').hidden = !!body.control;
    $('watch-only').hidden = !!body.control;
    connect();
  }

  async function login(e) {
    e.preventDefault();
    showError('login-error', '');
    const r = await fetch('/api/login', {
      method: 'POST', credentials: 'same-origin', headers: { 'Content-Type': 'application/json' },
      body: JSON.stringify({ passPhrase: $('phrase').value }),
    });
    $('phrase').value = '';
    if (!r.ok) {
      const body = await r.json().catch(() => ({}));
      showError('login-error', body.error || ('Refused: ' + r.status));
      return;
    }
    $('login').hidden = true;
    if (socket) socket.close(); else start();
  }

  async function logout() {
    await fetch('/api/logout', { method: 'POST', credentials: 'same-origin', headers: { 'Content-Type': 'application/json' }, body: '{}' });
    if (socket) socket.close();
  }

  build();
  setControl(false);
  start();
})();
